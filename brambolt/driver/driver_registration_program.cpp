// The registration's bindings to the rest of the program.
#include "brambolt/app/program_directory.h"
#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/driver_registration.h"
#include "brambolt/driver/driver_registration_message.h"
#include "brambolt/driver/user_names.h"

namespace brambolt {

const DriverRegistrationEnvironment& ProgramDriverRegistrationEnvironment() {
    static const DriverRegistrationEnvironment environment{
        []() -> std::optional<std::wstring> {
            std::wstring sid;
            if (!GetUserSidString(sid)) {
                return std::nullopt;
            }
            return sid;
        },
        [] { return GetDriverServiceName(); },
        [] { return std::wstring(ProgramDirectory()); },
        [] { return PingDriver(); },
        []() -> DriverPort& { return CurrentDriverPort(); },
        [] { return GetLockListPath(); },
        [](const std::wstring& text, UINT type) { ShowDriverMessage(text, type); },
    };
    return environment;
}

void InstallAndLoadDriver() {
    InstallAndLoadDriver(ProgramDriverRegistrationEnvironment());
}

DWORD WINAPI EnsureDriverThread(LPVOID /*unused*/) {
    EnsureDriver(ProgramDriverRegistrationEnvironment());
    return 0;
}

void UninstallDriver() {
    UninstallDriver(ProgramDriverRegistrationEnvironment());
}

}  // namespace brambolt
