// The main window's handle, kept under the current user's "Software\Ravelin" as "KDWND"
// (REG_QWORD) so that a later instance can wake this one.
#pragma once

#include <windows.h>

#include <cstdint>

namespace brambolt {

// The stored handle's 8 bytes, or 0 when the key or the value is missing or unreadable. The
// value's type is not examined.
std::uint64_t ReadStoredWindowHandle();
// Silent when the key cannot be created.
void StoreMainWindowHandle(HWND window);
// When the main window ends: the value becomes 0 (no window) if it still holds this window, so
// that no later start posts to a handle that is gone or reused.
void ClearStoredMainWindowHandle(HWND window);

}  // namespace brambolt
