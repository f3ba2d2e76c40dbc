// What the lock list's file work needs from the driver control: the file's path (forming it also
// creates the data folder), the driver's ping and its data-folder access switch.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace brambolt {

struct LockListEnvironment {
    std::function<std::optional<std::wstring>()> lockListPath;
    std::function<bool()> pingDriver;
    std::function<bool(std::int32_t)> setDataFolderAccess;
};

// The program's own: GetLockListPath, PingDriver and SetDataFolderAccess.
[[nodiscard]] const LockListEnvironment& ProgramLockListEnvironment();

}  // namespace brambolt
