// The WebView2 runtime of this machine, found at run time and never through a link-time import,
// so that Brambolt starts, and works without its web views, where no runtime is installed.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "brambolt/web/webview2_abi.h"

namespace brambolt {

class WebView2Runtime {
  public:
    // First "WebView2Loader.dll" in the program's folder, when it loads and exports both loader
    // functions; otherwise the installed Evergreen runtime through its machine-wide registration
    // (evergreen_registration.h); the user's own registration is never read. Null when neither is
    // there: no runtime. Looked up once per process; the library found stays loaded for the
    // process's life, because the runtime's objects and callbacks live in it.
    static const WebView2Runtime* Installed();

    // The same lookup for a given folder, without the process-wide cache.
    static std::optional<WebView2Runtime> Find(const std::wstring& programFolder);

    // GetAvailableCoreWebView2BrowserVersionString with no browser folder.
    HRESULT GetAvailableBrowserVersionString(LPWSTR* version) const;
    // CreateCoreWebView2EnvironmentWithOptions with no browser folder and the user data folder
    // GetWebViewDataFolder (user_names.h); E_ACCESSDENIED, with no call, when that folder cannot
    // be made.
    HRESULT CreateEnvironmentWithOptions(
        webview2::ICoreWebView2EnvironmentOptions* options,
        webview2::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) const;

    [[nodiscard]] bool FromProgramFolder() const noexcept { return versionFunction_ != nullptr; }

  private:
    using InternalCreateFunction = HRESULT(STDMETHODCALLTYPE*)(
        bool checkRunningInstance, int runtimeType, PCWSTR userDataFolder,
        IUnknown* environmentOptions,
        webview2::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

    static std::optional<WebView2Runtime> FromLoader(const std::wstring& programFolder);
    static std::optional<WebView2Runtime> FromEvergreenRegistration();

    // The loader's exports, or the Evergreen client's own entry with its version.
    webview2::GetAvailableCoreWebView2BrowserVersionStringFunction versionFunction_ = nullptr;
    webview2::CreateCoreWebView2EnvironmentWithOptionsFunction createFunction_ = nullptr;
    InternalCreateFunction internalCreateFunction_ = nullptr;
    std::wstring evergreenVersion_;
};

}  // namespace brambolt
