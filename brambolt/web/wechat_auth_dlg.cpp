#include "brambolt/web/wechat_auth_dlg.h"

#include <objbase.h>

#include <algorithm>
#include <utility>

#include "brambolt/base/co_task_string.h"
#include "brambolt/base/text_conversion.h"
#include "brambolt/framework/dpi_scale.h"
#include "brambolt/web/verification_outcome.h"
#include "brambolt/web/webview2_callbacks.h"
#include "brambolt/web/webview_lockdown.h"
#include "brambolt/web/webview_start.h"

namespace brambolt {

namespace {

const WindowClassSpec kWindowClass{L"BramboltWeChatAuth", CS_HREDRAW | CS_VREDRAW, IDC_ARROW,
                                   COLOR_BTNFACE};

// Centres on the owner when it is shown, else on the work area of the window's monitor, and keeps
// the window inside that work area, as the framework's centring does.
void CentreWindow(HWND window, HWND owner) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    const bool onOwner =
        owner != nullptr && ::IsWindowVisible(owner) != FALSE && ::IsIconic(owner) == FALSE;
    ::GetMonitorInfoW(::MonitorFromWindow(onOwner ? owner : window, MONITOR_DEFAULTTOPRIMARY),
                      &monitor);
    const RECT work = monitor.rcWork;
    RECT area = work;
    if (onOwner) {
        ::GetWindowRect(owner, &area);
    }
    RECT own{};
    ::GetWindowRect(window, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    LONG left = area.left + ((area.right - area.left) - width) / 2;
    LONG top = area.top + ((area.bottom - area.top) - height) / 2;
    left = std::max(work.left, std::min(left, work.right - width));
    top = std::max(work.top, std::min(top, work.bottom - height));
    ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CWeChatAuthDlg::CWeChatAuthDlg(std::wstring address) : address_(std::move(address)) {}

CWeChatAuthDlg::~CWeChatAuthDlg() {
    alive_.reset();
    // Destroyed here, while this class still handles WM_DESTROY and closes its controller.
    DestroyModalWindow();
    CloseWebView();
}

bool CWeChatAuthDlg::Create(HWND owner) {
    const WindowSpec window{WS_EX_CONTROLPARENT | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                            L"微信安全登录验证",
                            WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                            0,
                            0,
                            ScaleForDpi(500),
                            ScaleForDpi(600),
                            owner};
    if (!CreateModalWindow(kWindowClass, window)) {
        return false;
    }
    if (owner != nullptr && ::IsWindow(owner) != FALSE) {
        ::SetWindowLongPtrW(Window(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    } else {
        ::BringWindowToTop(Window());
    }
    CentreWindow(Window(), owner);
    // The web view starts once the window exists; its completions arrive in the modal loop.
    StartWebView();
    return true;
}

int CWeChatAuthDlg::Run() {
    if (finished_.has_value()) {
        return *finished_;
    }
    const INT_PTR result = RunModalLoop();
    return finished_.value_or(result == kVerificationVerified || result == kVerificationRejected
                                  ? static_cast<int>(result)
                                  : kVerificationCancelled);
}

void CWeChatAuthDlg::StartWebView() {
    const std::weak_ptr<CWeChatAuthDlg*> window = alive_;
    const WebViewStart started = brambolt::StartWebView(
        Window(), {[window] {
                       if (const auto self = window.lock()) {
                           (*self)->Finish(kVerificationCancelled);
                       }
                   },
                   [window](HRESULT result, webview2::ICoreWebView2Controller* controller) {
                       if (const auto self = window.lock()) {
                           (*self)->OnControllerCreated(result, controller);
                       }
                   }});
    if (!started.runtimeFound) {
        ::MessageBoxW(Window(), L"未检测到 WebView2 Runtime。", L"错误", MB_OK | MB_ICONERROR);
        Finish(kVerificationCancelled);
        return;
    }
    if (FAILED(started.environmentCall)) {
        // No completion follows a call that failed at once: the window would wait for nothing.
        Finish(kVerificationCancelled);
    }
}

void CWeChatAuthDlg::OnControllerCreated(HRESULT result,
                                         webview2::ICoreWebView2Controller* controller) {
    if (FAILED(result) || controller == nullptr) {
        Finish(kVerificationCancelled);
        return;
    }
    if (controller_.get() != controller) {
        controller_ = ComRef<webview2::ICoreWebView2Controller>(controller);
    }
    view_.reset();
    if (FAILED(controller_->get_CoreWebView2(view_.put())) || !view_ ||
        !LockDownWebView(*controller_.get(), *view_.get())) {
        Finish(kVerificationCancelled);
        return;
    }
    FitViewToClient();
    const std::weak_ptr<CWeChatAuthDlg*> window = alive_;
    const auto starting = NavigationStartingCallback::Make(
        [window](webview2::ICoreWebView2* /*sender*/,
                 webview2::ICoreWebView2NavigationStartingEventArgs* args) {
            if (const auto self = window.lock()) {
                (*self)->OnNavigationStarting(args);
            }
            return S_OK;
        });
    const auto completed = NavigationCompletedCallback::Make(
        [window](webview2::ICoreWebView2* /*sender*/,
                 webview2::ICoreWebView2NavigationCompletedEventArgs* args) {
            if (const auto self = window.lock()) {
                (*self)->OnNavigationCompleted(args);
            }
            return S_OK;
        });
    // Both stay registered for the view's life; their tokens are not needed.
    webview2::EventRegistrationToken token{};
    view_->add_NavigationStarting(starting.get(), &token);
    view_->add_NavigationCompleted(completed.get(), &token);
    view_->Navigate(address_.c_str());
}

void CWeChatAuthDlg::OnNavigationStarting(
    webview2::ICoreWebView2NavigationStartingEventArgs* args) {
    if (args == nullptr || finished_.has_value()) {
        return;
    }
    UniqueCoTaskString text;
    std::u16string address;
    if (SUCCEEDED(args->get_Uri(text.put())) && text.valid()) {
        address = ToUtf16(text.get());
    }
    if (!IsVerificationOutcome(address)) {
        return;  // the page's own navigation proceeds
    }
    args->put_Cancel(TRUE);
    if (std::optional<std::u16string> identity = brambolt::ReportedIdentity(address)) {
        reportedIdentity_ = std::move(*identity);
    }
    ::ShowWindow(Window(), SW_HIDE);
    Finish(VerificationCode(address));
}

void CWeChatAuthDlg::OnNavigationCompleted(
    webview2::ICoreWebView2NavigationCompletedEventArgs* args) {
    BOOL succeeded = FALSE;
    if (args != nullptr && SUCCEEDED(args->get_IsSuccess(&succeeded)) && succeeded != FALSE &&
        controller_) {
        controller_->put_ZoomFactor(1.0);
    }
}

void CWeChatAuthDlg::FitViewToClient() {
    if (!controller_) {
        return;
    }
    RECT client{};
    ::GetClientRect(Window(), &client);
    controller_->put_Bounds(client);
}

void CWeChatAuthDlg::Finish(int code) {
    if (finished_.has_value()) {
        return;
    }
    finished_ = code;
    EndModalLoop(code);
}

void CWeChatAuthDlg::CloseWebView() noexcept {
    if (controller_) {
        controller_->Close();
        controller_.reset();
    }
    view_.reset();
}

LRESULT CWeChatAuthDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            FitViewToClient();
            return 0;
        case WM_CLOSE:
            Finish(kVerificationCancelled);  // the window stays until the caller destroys it
            return 0;
        case WM_DESTROY:
            CloseWebView();
            return 0;
        default:
            return CModalWindow::WindowProc(message, wParam, lParam);
    }
}

int VerifyWithWeChat(const std::wstring& address, HWND owner) {
    CWeChatAuthDlg dialog(address);
    if (!dialog.Create(owner)) {
        return kVerificationCancelled;
    }
    const int code = dialog.Run();
    dialog.DestroyModalWindow();
    return code;
}

}  // namespace brambolt
