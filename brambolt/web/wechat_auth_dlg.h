// The WeChat verification window: the vendor's login page in a WebView2 view filling the window,
// watched for the final "success://" address that carries the outcome. Built in code and run
// through the framework's modal loop, which ends with 1002 (verified), 1003 (rejected) or 2
// (closed, no runtime, or no web view).
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "brambolt/base/com_ref.h"
#include "brambolt/framework/modal_window.h"
#include "brambolt/web/webview2_abi.h"

namespace brambolt {

class CWeChatAuthDlg : public CModalWindow {
  public:
    explicit CWeChatAuthDlg(std::wstring address);
    ~CWeChatAuthDlg() override;

    // Creates the window owned by `owner`, centres it and starts the web view. False when the
    // window cannot be created.
    virtual bool Create(HWND owner);
    // Runs the modal loop, unless the verification already ended while the window was created
    // (no runtime, or the environment call failed at once); then gives that code.
    int Run();

    // The identity that the final address reported, empty until one did.
    [[nodiscard]] const std::u16string& ReportedIdentity() const noexcept {
        return reportedIdentity_;
    }

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void StartWebView();
    void OnControllerCreated(HRESULT result, webview2::ICoreWebView2Controller* controller);
    void OnNavigationStarting(webview2::ICoreWebView2NavigationStartingEventArgs* args);
    void OnNavigationCompleted(webview2::ICoreWebView2NavigationCompletedEventArgs* args);
    void FitViewToClient();
    void Finish(int code);
    void CloseWebView() noexcept;

    std::wstring address_;
    std::u16string reportedIdentity_;
    ComRef<webview2::ICoreWebView2Controller> controller_;
    ComRef<webview2::ICoreWebView2> view_;
    std::optional<int> finished_;
    // The handlers reach the window through this; they find it gone once it is destroyed.
    std::shared_ptr<CWeChatAuthDlg*> alive_ = std::make_shared<CWeChatAuthDlg*>(this);
};

// Runs one verification at `address` in a window owned by `owner` and returns its code; the
// window and its web view are gone when it returns. A window that cannot be created gives 2.
int VerifyWithWeChat(const std::wstring& address, HWND owner);

}  // namespace brambolt
