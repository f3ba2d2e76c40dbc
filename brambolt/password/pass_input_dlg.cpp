#include "brambolt/password/pass_input_dlg.h"

#include <utility>

#include "brambolt/base/secure_wipe.h"
#include "brambolt/framework/controls.h"
#include "brambolt/framework/dpi_scale.h"

namespace brambolt {

namespace {

constexpr wchar_t kWindowClass[] = L"BramboltPassInput";
constexpr int kWindowWidth = 460;
constexpr int kWindowHeight = 240;

// A control of the prompt; the rectangle is in client coordinates at 96 dpi.
struct ControlSpec {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    RECT logical;
    int id;
};

constexpr ControlSpec kControls[] = {
    {L"Static",
     L"已开启密码保护，请输入独立口令：",
     WS_CHILD | WS_VISIBLE,
     {25, 25, 415, 50},
     0xFFFF},
    {L"Edit",
     L"",
     WS_CHILD | WS_VISIBLE | WS_BORDER | ES_PASSWORD | ES_AUTOHSCROLL,
     {25, 60, 415, 90},
     CPassInputDlg::kPasswordEditId},
    {L"Button",
     L"忘记密码?",
     WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
     {25, 120, 125, 155},
     CPassInputDlg::kForgotPasswordId},
    {L"Button", L"确定", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, {315, 120, 415, 155}, IDOK},
};

}  // namespace

CPassInputDlg::CPassInputDlg(AccountRecovery recoverAccount)
    : recoverAccount_(std::move(recoverAccount)) {}

CPassInputDlg::~CPassInputDlg() {
    WipeEnteredPassword();
}

bool CPassInputDlg::Create() {
    const int width = ScaleForDpi(kWindowWidth);
    const int height = ScaleForDpi(kWindowHeight);
    const WindowClassSpec windowClass{kWindowClass, CS_HREDRAW | CS_VREDRAW, IDC_ARROW,
                                      COLOR_BTNFACE};
    const WindowSpec window{WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                            L"独立保护口令验证",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU,
                            (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                            (::GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                            width,
                            height,
                            nullptr};
    if (!CreateModalWindow(windowClass, window) || !CreateControls()) {
        DestroyModalWindow();
        return false;
    }
    ::ShowWindow(Window(), SW_SHOW);
    ::SetFocus(edit_);
    return true;
}

bool CPassInputDlg::CreateControls() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const auto font = reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT));
    for (const ControlSpec& control : kControls) {
        const int left = ScaleForDpi(control.logical.left);
        const int top = ScaleForDpi(control.logical.top);
        HWND created = ::CreateWindowExW(
            0, control.className, control.text, control.style, left, top,
            ScaleForDpi(control.logical.right) - left, ScaleForDpi(control.logical.bottom) - top,
            Window(),
            // NOLINTNEXTLINE(performance-no-int-to-ptr): a child's id travels as its menu handle
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
        if (created == nullptr) {
            return false;
        }
        ::SendMessageW(created, WM_SETFONT, font, TRUE);
        if (control.id == kPasswordEditId) {
            edit_ = created;
        }
    }
    return true;
}

void CPassInputDlg::WipeEnteredPassword() noexcept {
    SecureWipe(enteredPassword_);
}

void CPassInputDlg::ClearPasswordField() const {
    ::SetWindowTextW(edit_, L"");
    ::SetFocus(edit_);
}

BOOL CPassInputDlg::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    switch (LOWORD(wParam)) {
        case IDOK:
            // The old value's buffer must not go back to the heap unwiped.
            WipeEnteredPassword();
            enteredPassword_ = WindowText(edit_);
            EndModalLoop(kEntered);
            return TRUE;
        case IDCANCEL:
            EndModalLoop(kCancelled);
            return TRUE;
        case kForgotPasswordId:
            if (recoverAccount_) {
                recoverAccount_(Window());
            }
            return TRUE;
        default:
            return FALSE;
    }
}

LRESULT CPassInputDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        EndModalLoop(kCancelled);
        return 0;
    }
    return CModalWindow::WindowProc(message, wParam, lParam);
}

}  // namespace brambolt
