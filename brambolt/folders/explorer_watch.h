// The watch over an opened protected folder: whether any Explorer window still shows a listed
// folder or a folder below it.
#pragma once

namespace brambolt {

// For the process's lock list and the shell port in use. False when Explorer's window list cannot
// be had. Runs on the user-interface thread.
[[nodiscard]] bool IsLockedFolderShown();

}  // namespace brambolt
