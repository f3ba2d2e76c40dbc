#include "brambolt/web/notice_panel.h"

#include <objbase.h>

#include <array>
#include <cwchar>
#include <string>

#include "brambolt/base/co_task_string.h"
#include "brambolt/base/text_conversion.h"
#include "brambolt/web/notice_page.h"
#include "brambolt/web/vendor_server.h"
#include "brambolt/web/webview2_callbacks.h"
#include "brambolt/web/webview_lockdown.h"
#include "brambolt/web/webview_start.h"

namespace brambolt {

namespace {

std::wstring WithCode(const wchar_t* text, HRESULT code) {
    std::array<wchar_t, 16> digits{};
    std::swprintf(digits.data(), digits.size(), L"0x%08X", static_cast<unsigned>(code));
    return std::wstring(text) + digits.data();
}

}  // namespace

NoticePanel::~NoticePanel() {
    alive_.reset();
    view_.reset();
    controller_.reset();
}

void NoticePanel::Start(HWND dialog, HWND placeholder) {
    dialog_ = dialog;
    placeholder_ = placeholder;
    const std::weak_ptr<NoticePanel*> panel = alive_;
    const WebViewStart started = StartWebView(
        dialog, {// The environment's own failure: no panel, no message.
                 [] {},
                 [panel](HRESULT result, webview2::ICoreWebView2Controller* controller) {
                     if (const auto self = panel.lock()) {
                         (*self)->OnControllerCreated(result, controller);
                     }
                 }});
    if (started.runtimeFound && FAILED(started.environmentCall)) {
        ::MessageBoxW(dialog_,
                      WithCode(L"CreateCoreWebView2EnvironmentWithOptions 同步调用失败：",
                               started.environmentCall)
                          .c_str(),
                      L"错误", MB_OK | MB_ICONERROR);
    }
}

void NoticePanel::OnControllerCreated(HRESULT result,
                                      webview2::ICoreWebView2Controller* controller) {
    if (FAILED(result) || controller == nullptr) {
        ::MessageBoxW(dialog_, WithCode(L"创建 WebView2 控制器失败：", result).c_str(), L"错误",
                      MB_OK | MB_ICONWARNING);
        return;
    }
    if (controller_.get() != controller) {
        controller_ = ComRef<webview2::ICoreWebView2Controller>(controller);
    }
    view_.reset();
    if (FAILED(controller_->get_CoreWebView2(view_.put())) || !view_) {
        return;
    }
    if (!LockDownWebView(*controller_.get(), *view_.get())) {
        // A view that the keyboard could steer is not shown at all.
        view_.reset();
        controller_->Close();
        controller_.reset();
        return;
    }
    PlaceOverPlaceholder();
    const std::weak_ptr<NoticePanel*> panel = alive_;
    const auto completed = NavigationCompletedCallback::Make(
        [panel](webview2::ICoreWebView2* /*sender*/,
                webview2::ICoreWebView2NavigationCompletedEventArgs* args) {
            if (const auto self = panel.lock()) {
                (*self)->OnNavigationCompleted(args);
            }
            return S_OK;
        });
    // The handler stays registered for the view's life; its token is not needed.
    webview2::EventRegistrationToken token{};
    view_->add_NavigationCompleted(completed.get(), &token);
    view_->Navigate(ToWide(NoticePageAddress(VendorServerHost())).c_str());
}

void NoticePanel::PlaceOverPlaceholder() {
    if (placeholder_ == nullptr || ::IsWindow(placeholder_) == FALSE) {
        return;
    }
    RECT bounds{};
    ::GetWindowRect(placeholder_, &bounds);
    ::MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&bounds), 2);
    controller_->put_Bounds(bounds);
}

void NoticePanel::OnNavigationCompleted(webview2::ICoreWebView2NavigationCompletedEventArgs* args) {
    if (args == nullptr || !view_) {
        return;
    }
    BOOL succeeded = FALSE;
    args->get_IsSuccess(&succeeded);
    webview2::COREWEBVIEW2_WEB_ERROR_STATUS status =
        webview2::COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    args->get_WebErrorStatus(&status);  // read, not used
    std::u16string source;
    if (succeeded == FALSE) {
        UniqueCoTaskString text;
        if (SUCCEEDED(view_->get_Source(text.put())) && text.valid()) {
            source = ToUtf16(text.get());
        }
    }
    if (ShouldShowOfflineFallback(succeeded != FALSE, source, offlineFallbackShown)) {
        view_->NavigateToString(ToWide(OfflineFallbackPage()).c_str());
    }
}

}  // namespace brambolt
