// The environment options Brambolt gives WebView2: the SDK's options object with every default
// and nothing set by the program. The SDK's defaults are no browser arguments, no language, no
// single sign-on, and the runtime version its interfaces were declared against as the target
// compatible browser version.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "brambolt/base/com_ref.h"
#include "brambolt/web/webview2_abi.h"

namespace brambolt {

// The runtime version that matches the interfaces of webview2_abi.h.
inline constexpr wchar_t kTargetCompatibleBrowserVersion[] = L"156.0.4314.35";

class DefaultEnvironmentOptions final : public webview2::ICoreWebView2EnvironmentOptions {
  public:
    static ComRef<webview2::ICoreWebView2EnvironmentOptions> Make();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) override;
    HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL allow) override;

  private:
    DefaultEnvironmentOptions() = default;
    ~DefaultEnvironmentOptions() = default;

    LONG references_ = 1;
    // An unset text is handed out as a null string, as the SDK's options class does.
    std::optional<std::wstring> additionalBrowserArguments_;
    std::optional<std::wstring> language_;
    std::optional<std::wstring> targetCompatibleBrowserVersion_{kTargetCompatibleBrowserVersion};
    BOOL allowSingleSignOnUsingOSPrimaryAccount_ = FALSE;
};

}  // namespace brambolt
