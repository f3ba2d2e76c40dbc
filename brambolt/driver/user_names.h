// The current user's SID string and the per-user names of the filter driver built from it.
#pragma once

#include <optional>
#include <string>

namespace brambolt {

// The SID string of the process token's user. Cached process-wide after the first successful
// read (one lock guards the cache and the token query); a failed read is not cached, so the next
// call tries again. On failure sid is left as it was.
bool GetUserSidString(std::wstring& sid);

// "TARNBRT_" + SID, or "TARNBRT_NOSID" when the SID cannot be read.
std::wstring GetDriverServiceName();
// "\\.\" + the service name.
std::wstring GetDriverDevicePath();

// The full path of the lock list file "TARNLOCKLIST.INI" in the user's data folder, creating
// that folder (its last level) when it is missing and making it private to SYSTEM and
// Administrators (private_folder.h). nullopt when the system folders cannot be read, the path
// would not fit in MAX_PATH, or the folder is a reparse point or cannot be made private.
std::optional<std::wstring> GetLockListPath();
// The credential record "TARNLOCKLIST.DAT" beside the lock list file (same folder rule).
std::optional<std::wstring> GetCredentialRecordPath();

// The web views' user data folder, "<data folder>.WebView2": beside the data folder, not in it,
// because the driver refuses the data folder to every process outside the program's own file
// work, the web runtime's processes included. Created or found and made private as the data
// folder is; nullopt when that fails.
std::optional<std::wstring> GetWebViewDataFolder();

}  // namespace brambolt
