// The per-user names of the filter driver, formed from the user's SID string. Plain C++ so that
// both builds test them; the Win32 side (user_names.h) supplies the SID and the system folders.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brambolt {

// MAX_PATH: a path and its terminating zero fit in 260 UTF-16 characters.
inline constexpr std::size_t kMaxPathChars = 260;

[[nodiscard]] bool FitsInMaxPath(std::u16string_view path) noexcept;

// "TARNBRT_" + SID, or "TARNBRT_NOSID" without a SID. The SID is used as it stands.
std::u16string ServiceNameFor(std::optional<std::u16string_view> sid);
// "\\.\" + the service name.
std::u16string DevicePathFor(std::optional<std::u16string_view> sid);

// The data folder with a SID: local application data + "\TARNBRT_" + SID.
std::optional<std::u16string> UserDataFolder(std::u16string_view localAppData,
                                             std::u16string_view sid);
// The data folder without a SID: Windows directory + "\System32\Drivers\DriverData\Pondglass".
std::optional<std::u16string> NoSidDataFolder(std::u16string_view windowsDirectory);

// data folder + "\TARNLOCKLIST.INI"; nullopt when the path would not fit in MAX_PATH.
std::optional<std::u16string> LockListPathIn(std::u16string_view dataFolder);
// The lock list path with its file name replaced by "TARNLOCKLIST.DAT".
std::optional<std::u16string> CredentialRecordPathBeside(std::u16string_view lockListPath);

}  // namespace brambolt
