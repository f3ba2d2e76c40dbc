#include "brambolt/testbench/stand_in_driver.h"

#include <shlobj.h>

#include <array>
#include <cstring>
#include <vector>

#include "brambolt/base/unique_handle.h"
#include "brambolt/base/whole_file.h"
#include "brambolt/driver/control_codes.h"
#include "brambolt/testbench/bench_journal.h"
#include "brambolt/testbench/lock_list_reader.h"
#include "brambolt/testbench/registration_check.h"

namespace brambolt::testbench {

namespace {

constexpr wchar_t kNoSidService[] = L"TARNBRT_NOSID";
// Larger lists than this are not a list the program wrote.
constexpr std::uint64_t kLargestListFile = std::uint64_t{1} << 20U;

std::wstring HexCode(DWORD value) {
    std::array<wchar_t, 16> text{};
    swprintf(text.data(), text.size(), L"0x%08lx", static_cast<unsigned long>(value));
    return text.data();
}

JournalEntry Entry(RequestKind kind, std::wstring subject, std::wstring outcome) {
    JournalEntry entry;
    entry.processId = ::GetCurrentProcessId();
    entry.kind = kind;
    entry.subject = std::move(subject);
    entry.outcome = std::move(outcome);
    return entry;
}

bool LoadDriverPrivilegeEnabled() {
    UniqueHandle token;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()) == FALSE) {
        return false;
    }
    LUID loadDriver{};
    if (::LookupPrivilegeValueW(nullptr, SE_LOAD_DRIVER_NAME, &loadDriver) == FALSE) {
        return false;
    }
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenPrivileges, nullptr, 0, &size);
    std::vector<std::byte> buffer(size);
    if (size == 0 ||
        ::GetTokenInformation(token.get(), TokenPrivileges, buffer.data(), size, &size) == FALSE) {
        return false;
    }
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& privilege = privileges->Privileges[i];
        if (privilege.Luid.LowPart == loadDriver.LowPart &&
            privilege.Luid.HighPart == loadDriver.HighPart) {
            return (privilege.Attributes & SE_PRIVILEGE_ENABLED) != 0;
        }
    }
    return false;
}

// The driver's own idea of where its lock list lies: in its data folder, named after the service
// it runs as.
std::wstring LockListFileOf(const std::wstring& serviceName) {
    std::array<wchar_t, MAX_PATH> folder{};
    if (serviceName == kNoSidService) {
        if (::GetWindowsDirectoryW(folder.data(), MAX_PATH) == 0) {
            return {};
        }
        return std::wstring(folder.data()) +
               L"\\System32\\Drivers\\DriverData\\Pondglass\\TARNLOCKLIST.INI";
    }
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                  folder.data()))) {
        return {};
    }
    return std::wstring(folder.data()) + L"\\" + serviceName + L"\\TARNLOCKLIST.INI";
}

void TakeLockList(const std::wstring& serviceName, DriverState& state) {
    const std::optional<std::vector<std::uint8_t>> bytes =
        ReadWholeFile(LockListFileOf(serviceName), kLargestListFile);
    if (!bytes.has_value()) {
        state.lockListRead = LockListRead::Absent;
        state.hiddenFolders.clear();
        return;
    }
    const auto entries = ParseLockListFile(*bytes);
    if (!entries.has_value()) {
        // A malformed file changes nothing: the folders hidden so far stay hidden.
        state.lockListRead = LockListRead::Malformed;
        return;
    }
    state.lockListRead = LockListRead::Read;
    state.hiddenFolders.clear();
    for (const auto& entry : *entries) {
        state.hiddenFolders.emplace_back(reinterpret_cast<const wchar_t*>(entry.data()),
                                         entry.size());
    }
}

}  // namespace

DriverDevice StandInDriver::OpenDevice(const wchar_t* devicePath) {
    const std::wstring path = devicePath != nullptr ? devicePath : L"";
    const std::wstring prefix = kDevicePathPrefix;
    const BenchLock hold;
    bool answers = false;
    std::wstring serviceName;
    if (path.starts_with(prefix)) {
        serviceName = path.substr(prefix.size());
        answers = !serviceName.empty() && ReadDriverState(serviceName).loaded;
    }
    AppendJournal(Entry(RequestKind::Open, path, answers ? L"ok" : L"refused"));
    if (!answers) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return {};
    }
    // A real kernel handle stands for the open device, so that every open is a distinct handle.
    HANDLE device = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (device == nullptr) {
        return {};
    }
    const std::lock_guard guard(lock_);
    openDevices_.emplace(device, serviceName);
    return {*this, device};
}

bool StandInDriver::SendControl(HANDLE device, DWORD code, const void* input, DWORD inputSize) {
    std::wstring serviceName;
    {
        const std::lock_guard guard(lock_);
        const auto found = openDevices_.find(device);
        if (found != openDevices_.end()) {
            serviceName = found->second;
        }
    }
    JournalEntry entry = Entry(RequestKind::Control, HexCode(code), L"failed");
    std::optional<std::int32_t> value;
    if (input != nullptr && inputSize == sizeof(std::int32_t)) {
        std::int32_t number = 0;
        std::memcpy(&number, input, sizeof(number));
        value = number;
        entry.value = number;
    }
    const BenchLock hold;
    DriverState state = ReadDriverState(serviceName);
    bool succeeded = false;
    if (serviceName.empty()) {
        ::SetLastError(ERROR_INVALID_HANDLE);
    } else if (!state.loaded) {
        ::SetLastError(ERROR_DEVICE_NOT_CONNECTED);
    } else if (code == IOCTL_FILTER_PING) {
        succeeded = inputSize == 0;
    } else if ((code == IOCTL_FILTER_SET_PROTECTION || code == IOCTL_FILTER_SET_DATA_ACCESS) &&
               value.has_value() && (*value == 0 || *value == 1)) {
        if (code == IOCTL_FILTER_SET_PROTECTION) {
            state.protection = *value;
            if (*value == 1) {
                TakeLockList(serviceName, state);
            }
        } else {
            state.dataAccess = *value;
        }
        WriteDriverState(serviceName, state);
        succeeded = true;
    }
    if (!succeeded && !serviceName.empty() && state.loaded) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
    }
    entry.outcome = succeeded ? L"ok" : L"failed";
    AppendJournal(entry);
    return succeeded;
}

void StandInDriver::CloseDevice(HANDLE device) {
    UniqueHandle owned;
    {
        const std::lock_guard guard(lock_);
        const auto found = openDevices_.find(device);
        if (found == openDevices_.end()) {
            return;
        }
        openDevices_.erase(found);
        owned.reset(device);
    }
    AppendJournal(Entry(RequestKind::Close, L"-", L"ok"));
}

HRESULT StandInDriver::FilterLoad(const wchar_t* serviceName) {
    const std::wstring name = serviceName != nullptr ? serviceName : L"";
    const BenchLock hold;
    DriverState state = ReadDriverState(name);
    HRESULT result = S_OK;
    std::wstring reason;
    const RegistrationVerdict registration = CheckRegistration(name);
    if (!LoadDriverPrivilegeEnabled()) {
        result = kLoadNoPrivilege;
        reason = L"SeLoadDriverPrivilege";
    } else if (state.loaded) {
        result = kLoadAlreadyLoaded;
        reason = L"loaded";
    } else if (!registration.present) {
        result = kLoadNoService;
        reason = registration.problem;
    } else if (!registration.complete) {
        result = kLoadBadRegistration;
        reason = registration.problem;
    } else {
        state.loaded = true;
        WriteDriverState(name, state);
    }
    JournalEntry entry = Entry(RequestKind::Load, name, HexCode(static_cast<DWORD>(result)));
    entry.reason = reason;
    AppendJournal(entry);
    return result;
}

HRESULT StandInDriver::FilterUnload(const wchar_t* serviceName) {
    const std::wstring name = serviceName != nullptr ? serviceName : L"";
    const BenchLock hold;
    DriverState state = ReadDriverState(name);
    HRESULT result = kUnloadNotLoaded;
    if (state.loaded) {
        // Protection and data access live in the driver's registration and survive an unload;
        // only the loaded state goes.
        state.loaded = false;
        WriteDriverState(name, state);
        result = S_OK;
    }
    AppendJournal(Entry(RequestKind::Unload, name, HexCode(static_cast<DWORD>(result))));
    return result;
}

StandInDriver& StandIn() {
    static StandInDriver driver;
    return driver;
}

}  // namespace brambolt::testbench
