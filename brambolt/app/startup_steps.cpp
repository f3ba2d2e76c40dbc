#include "brambolt/app/startup_steps.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "brambolt/app/main_window_identity.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/base/vendor_site.h"
#include "brambolt/folders/main_window_messages.h"

namespace brambolt {

namespace {

constexpr wchar_t kAlreadyRunning[] = L"程序已经在运行，请勿重复启动。";

}  // namespace

void EnableLoadDriverPrivilege() {
    UniqueHandle token;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                           token.put()) == FALSE) {
        return;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (::LookupPrivilegeValueW(nullptr, SE_LOAD_DRIVER_NAME, &privileges.Privileges[0].Luid) ==
        FALSE) {
        return;
    }
    ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

bool DriverFilePresent(const std::wstring& programDirectory) {
    if (programDirectory.empty()) {
        return false;
    }
    const std::wstring driverFile = programDirectory + L"\\TarnBrambolt.sys";
    return ::PathFileExistsW(driverFile.c_str()) != FALSE;
}

void ReportDamagedInstallation() {
    ::MessageBoxW(nullptr, L"程序完整性已被破坏，请重新安装。\n点击确定后将自动转到下载页面。",
                  L"提示", MB_ICONWARNING | MB_OK);
    ::ShellExecuteW(nullptr, L"open", kVendorSite, nullptr, nullptr, SW_SHOWMAXIMIZED);
}

bool WakeRunningInstance(std::uint64_t storedWindow) {
    const UniqueHandle running(::OpenMutexW(MUTEX_MODIFY_STATE, FALSE, kSingleInstanceMutex));
    if (!running) {
        return false;
    }
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
    const auto window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(storedWindow));
    if (IsBramboltMainWindow(window)) {
        // Posted, never sent: this instance must not wait for the running one.
        ::PostMessageW(window, WM_WAKE_MAIN_WINDOW, kWakeParam, static_cast<LPARAM>(kWakeParam));
    } else {
        // The running instance has no main window to show (it is still asking for the password,
        // or the mutex is held by something else): at least the user learns why nothing opens.
        ::MessageBoxW(nullptr, kAlreadyRunning, L"提示", MB_OK | MB_ICONINFORMATION);
    }
    return true;
}

}  // namespace brambolt
