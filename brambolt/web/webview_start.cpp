#include "brambolt/web/webview_start.h"

#include <utility>

#include "brambolt/base/co_task_string.h"
#include "brambolt/web/webview2_callbacks.h"
#include "brambolt/web/webview2_options.h"
#include "brambolt/web/webview2_runtime.h"

namespace brambolt {

namespace {

bool RuntimeHasVersion(const WebView2Runtime& runtime) {
    UniqueCoTaskString version;
    const HRESULT result = runtime.GetAvailableBrowserVersionString(version.put());
    // Only its presence counts; the text itself is not used.
    return SUCCEEDED(result) && version.valid();
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
