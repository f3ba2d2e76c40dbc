// Whether a window handle, as a later start finds it in the registry, is the main window of a
// running Brambolt of this user: a stored handle may be stale, reused by another program's window,
// or planted there.
#pragma once

#include <windows.h>

namespace brambolt {

// True when the window exists, has the main window's class and caption, and belongs to a process
// of the current user that runs an executable of this program's file name.
[[nodiscard]] bool IsBramboltMainWindow(HWND window);

}  // namespace brambolt
