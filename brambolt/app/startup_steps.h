// The single steps of Brambolt's start-up, in the order CKeldaApp runs them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace brambolt {

// SeLoadDriverPrivilege in the process token. Failures are ignored: without the privilege the
// driver's load fails later and is reported there.
void EnableLoadDriverPrivilege();

// True when "TarnBrambolt.sys" lies in the program directory (an empty directory has none).
bool DriverFilePresent(const std::wstring& programDirectory);

// The box that a missing driver file shows, then the vendor's web site opened maximised.
void ReportDamagedInstallation();

// The mutex that marks the logon session's running instance.
inline constexpr wchar_t kSingleInstanceMutex[] = L"OrinKelda";

// True when another instance holds the mutex; then its main window (when a handle was stored) is
// sent the wake-up message.
bool WakeRunningInstance(std::uint64_t storedWindow);

}  // namespace brambolt
