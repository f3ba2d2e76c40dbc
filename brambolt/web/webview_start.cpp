#include "brambolt/web/webview_start.h"

#include <objbase.h>

#include <utility>

#include "brambolt/web/webview2_callbacks.h"
#include "brambolt/web/webview2_options.h"
#include "brambolt/web/webview2_runtime.h"

namespace brambolt {

namespace {

bool RuntimeHasVersion(const WebView2Runtime& runtime) {
    LPWSTR version = nullptr;
    const HRESULT result = runtime.GetAvailableBrowserVersionString(&version);
    const bool found = SUCCEEDED(result) && version != nullptr;
    // Only its presence counts; the text itself is not used.
    ::CoTaskMemFree(version);
    return found;
}

}  // namespace

WebViewStart StartWebView(HWND host, WebViewStartCallbacks callbacks) {
    const WebView2Runtime* runtime = WebView2Runtime::Installed();
    if (runtime == nullptr || !RuntimeHasVersion(*runtime)) {
        return {};
    }
    const auto options = DefaultEnvironmentOptions::Make();
    const auto environmentCreated = EnvironmentCompletedCallback::Make(
        [host, callbacks = std::move(callbacks)](HRESULT result,
                                                 webview2::ICoreWebView2Environment* environment) {
            if (FAILED(result) || environment == nullptr) {
                callbacks.environmentFailed();
                return S_OK;
            }
            const auto controllerCreated = ControllerCompletedCallback::Make(
                [onController = callbacks.controllerCreated](
                    HRESULT code, webview2::ICoreWebView2Controller* controller) {
                    onController(code, controller);
                    return S_OK;
                });
            const HRESULT call =
                environment->CreateCoreWebView2Controller(host, controllerCreated.get());
            if (FAILED(call)) {
                callbacks.controllerCreated(call, nullptr);
            }
            return S_OK;
        });
    return {true, runtime->CreateEnvironmentWithOptions(options.get(), environmentCreated.get())};
}

}  // namespace brambolt
