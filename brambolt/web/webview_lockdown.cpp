#include "brambolt/web/webview_lockdown.h"

#include "brambolt/base/com_ref.h"
#include "brambolt/web/webview2_callbacks.h"
#include "brambolt/web/webview2_lockdown_abi.h"

namespace brambolt {

bool LockDownWebView(webview2::ICoreWebView2Controller& controller, webview2::ICoreWebView2& view) {
    ComRef<webview2::ICoreWebView2Settings> settings;
    if (FAILED(view.get_Settings(settings.put())) || !settings ||
        FAILED(settings->put_AreDevToolsEnabled(FALSE)) ||
        FAILED(settings->put_AreDefaultContextMenusEnabled(FALSE)) ||
        FAILED(settings->put_IsStatusBarEnabled(FALSE))) {
        return false;
    }
    // Later interfaces are asked for; an older runtime without them has nothing to switch off.
    ComRef<webview2::ICoreWebView2Settings3> keys;
    if (SUCCEEDED(
            settings->QueryInterface(webview2::IID_ICoreWebView2Settings3, keys.put_void())) &&
        keys) {
        keys->put_AreBrowserAcceleratorKeysEnabled(FALSE);
    }
    ComRef<webview2::ICoreWebView2Controller4> drops;
    if (SUCCEEDED(
            controller.QueryInterface(webview2::IID_ICoreWebView2Controller4, drops.put_void())) &&
        drops) {
        drops->put_AllowExternalDrop(FALSE);
    }
    // Handled without a window given: the page's request ends there.
    const auto refuse = NewWindowRequestedCallback::Make(
        [](webview2::ICoreWebView2* /*sender*/,
           webview2::ICoreWebView2NewWindowRequestedEventArgs* args) {
            return args != nullptr ? args->put_Handled(TRUE) : S_OK;
        });
    // Registered for the view's life; the token is not needed.
    webview2::EventRegistrationToken token{};
    return SUCCEEDED(view.add_NewWindowRequested(refuse.get(), &token));
}

}  // namespace brambolt
