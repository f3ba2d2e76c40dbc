// What driver registration needs from the rest of the program, in one place so that tests can give
// it a recording port, a fake ping and a message sink, and run every other line as shipped.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "brambolt/driver/driver_port.h"

namespace brambolt {

struct DriverRegistrationEnvironment {
    std::function<std::optional<std::wstring>()> userSid;  // empty when it cannot be read
    std::function<std::wstring()> serviceName;
    std::function<std::wstring()> programDirectory;
    std::function<bool()> pingDriver;
    std::function<DriverPort&()> port;
    std::function<std::optional<std::wstring>()> lockListPath;
    std::function<void(const std::wstring& text, UINT type)> showMessage;
};

// The program's own: the user's SID and names, the program directory, the control channel, the
// port in use and the application message box.
[[nodiscard]] const DriverRegistrationEnvironment& ProgramDriverRegistrationEnvironment();

}  // namespace brambolt
