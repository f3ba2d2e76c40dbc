// The yardstick: an empty dialog program, built like Brambolt.exe (mingw-w64, static, Unicode GUI,
// the same manifest), showing one template dialog until OK.
#include <windows.h>

#include <commctrl.h>

namespace {
INT_PTR CALLBACK EmptyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    return static_cast<int>(
        DialogBoxParamW(instance, MAKEINTRESOURCEW(100), nullptr, &EmptyDialogProc, 0));
}
