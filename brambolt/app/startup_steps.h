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

// True when another instance holds the mutex. Then the stored handle is sent the wake-up message
// when it is the main window of a Brambolt of this user (IsBramboltMainWindow); without such a
// window the user is told that the program is already running.
bool WakeRunningInstance(std::uint64_t storedWindow);

}  // namespace brambolt
