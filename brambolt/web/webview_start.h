// The start that both web views share: the runtime check, the default environment options, the
// environment, and then a controller for the hosting window. Completions arrive later, on this
// (the user-interface) thread.
#pragma once

#include <windows.h>

#include <functional>

#include "brambolt/web/webview2_abi.h"

namespace brambolt {

struct WebViewStartCallbacks {
    // The environment's completion reported a failure or delivered nothing.
    std::function<void()> environmentFailed;
    // The controller's completion; a creation call that fails at once comes here too, with its
    // code and no controller, because no completion will follow it.
    std::function<void(HRESULT, webview2::ICoreWebView2Controller*)> controllerCreated;
};

struct WebViewStart {
    bool runtimeFound = false;
    // The immediate result of CreateCoreWebView2EnvironmentWithOptions when a runtime was found.
    HRESULT environmentCall = S_OK;
};

WebViewStart StartWebView(HWND host, WebViewStartCallbacks callbacks);

}  // namespace brambolt
