// The notice panel of the main window: a WebView2 view over the dialog's invisible placeholder
// control, showing the vendor's notice page, or a fixed local page when that cannot be loaded.
// Optional: without a WebView2 runtime the main window works without it and says nothing.
#pragma once

#include <windows.h>

#include <memory>

#include "brambolt/base/com_ref.h"
#include "brambolt/web/webview2_abi.h"

namespace brambolt {

class NoticePanel {
  public:
    NoticePanel() = default;
    NoticePanel(const NoticePanel&) = delete;
    NoticePanel& operator=(const NoticePanel&) = delete;
    // Releases the view first, then the controller; the panel ends with its dialog.
    ~NoticePanel();

    // StartNoticePanel, from the dialog's initialisation: returns at once, and the rest runs in
    // completion and event handlers on the user-interface thread. Its failures show their own
    // messages and never stop the dialog's initialisation.
    void Start(HWND dialog, HWND placeholder);

  private:
    void OnControllerCreated(HRESULT result, webview2::ICoreWebView2Controller* controller);
    void OnNavigationCompleted(webview2::ICoreWebView2NavigationCompletedEventArgs* args);
    void PlaceOverPlaceholder();

    HWND dialog_ = nullptr;
    HWND placeholder_ = nullptr;
    ComRef<webview2::ICoreWebView2Controller> controller_;
    ComRef<webview2::ICoreWebView2> view_;
    bool offlineFallbackShown = false;
    // The handlers reach the panel through this; they find it gone once the panel is destroyed,
    // since a completion may still arrive after its dialog has closed.
    std::shared_ptr<NoticePanel*> alive_ = std::make_shared<NoticePanel*>(this);
};

}  // namespace brambolt
