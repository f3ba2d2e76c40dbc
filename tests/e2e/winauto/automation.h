// Win32 automation of other programs' windows, for the end-to-end tests and the winauto tool:
// finding windows, reading texts and list rows, pressing buttons, reading and answering message
// boxes, posting messages, and screenshots of the whole display.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "brambolt/base/unique_handle.h"

namespace winauto {

struct WindowQuery {
    std::optional<std::wstring> caption;
    std::optional<std::wstring> className;
    std::optional<DWORD> processId;
    bool visibleOnly = false;
};

std::vector<HWND> FindTopLevelWindows(const WindowQuery& query);
// Polls until a window matches or the bound runs out (then null).
HWND WaitForWindow(const WindowQuery& query, std::chrono::milliseconds bound);

std::wstring WindowText(HWND window);
std::wstring WindowClass(HWND window);
DWORD WindowProcess(HWND window);

std::wstring ControlText(HWND dialog, int controlId);
// Replaces a control's text as typing would (WM_SETTEXT, which the system carries across
// processes).
bool SetControlText(HWND dialog, int controlId, const std::wstring& text);
// The window with the keyboard focus in the thread that owns the given window; null when none.
HWND FocusedWindow(HWND window);
std::vector<std::wstring> ListBoxRows(HWND listBox);
// Posts the BN_CLICKED command of the button to its dialog, as a click would.
bool PressButton(HWND dialog, int controlId);
bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

enum class IconKind { None, Warning, Error, Information, Question, Unknown };
const wchar_t* IconName(IconKind icon);

struct MessageBoxButton {
    int id;
    std::wstring text;
};

struct MessageBoxContent {
    std::wstring caption;
    std::wstring text;
    std::vector<MessageBoxButton> buttons;
    IconKind icon = IconKind::None;
    HWND owner = nullptr;
};

// Reads a message box (dialog class #32770): its caption, text, buttons, and which system icon
// it shows (told apart by drawing the candidates and comparing with the screen). nullopt when the
// window is no dialog.
std::optional<MessageBoxContent> ReadMessageBox(HWND box);
// Presses the button of the given id (IDOK, IDCANCEL, IDRETRY, ...).
bool AnswerMessageBox(HWND box, int buttonId);

// The whole display as a 24-bit BMP file.
bool SaveScreenshot(const std::wstring& bmpPath);

// Processes.
struct StartedProcess {
    brambolt::UniqueHandle process;
    DWORD processId = 0;
};
std::optional<StartedProcess> StartProgram(const std::wstring& program,
                                           const std::wstring& arguments);
// The exit code, or nullopt when the process still runs after the bound.
std::optional<DWORD> WaitForExit(HANDLE process, std::chrono::milliseconds bound);

// A build path (UTF-8) as Wine sees it: drive Z: is the Unix root.
std::wstring WindowsPath(const char* unixPath);

}  // namespace winauto
