// Window messages shared between Brambolt's instances.
#pragma once

#include <windows.h>

namespace brambolt {

// Posted by a second instance to the first one's main window, with kWakeParam in both wParam and
// lParam.
inline constexpr UINT WM_WAKE_MAIN_WINDOW = WM_USER + 102;
inline constexpr WPARAM kWakeParam = 101;
static_assert(WM_WAKE_MAIN_WINDOW == 1126);

// The timer of the watch over an opened folder; the wake-up stops it.
inline constexpr UINT_PTR kExplorerWatchTimer = 101;

}  // namespace brambolt
