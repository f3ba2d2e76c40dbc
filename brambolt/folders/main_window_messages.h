// Window messages shared between Brambolt's instances.
#pragma once

#include <windows.h>

namespace brambolt {

// Posted by a second instance to the first one's main window, with kWakeParam in both wParam and
// lParam.
inline constexpr UINT WM_WAKE_MAIN_WINDOW = WM_USER + 102;
inline constexpr WPARAM kWakeParam = 101;
static_assert(WM_WAKE_MAIN_WINDOW == 1126);

// The main window's caption and class (dialog template 102): with its process, what tells a later
// instance that a window is Brambolt's main window.
inline constexpr wchar_t kMainWindowCaption[] = L"Vorlin文件夹隐藏保护 V1.3";
inline constexpr wchar_t kMainWindowClass[] = L"#32770";

// The timer of the watch over an opened folder; the wake-up stops it.
inline constexpr UINT_PTR kExplorerWatchTimer = 101;

}  // namespace brambolt
