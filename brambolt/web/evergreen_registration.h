// The installed Evergreen WebView2 runtime as its registration describes it. Plain UTF-16 text
// rules that build for every platform; webview2_runtime.cpp reads the registry.
//
// The technique is the one of the WebView2 loader that the public webview library builds in
// (github.com/webview/webview, core/include/webview/detail/platform/windows/webview2/loader.hh):
// the Evergreen runtime's client registers under
//   SOFTWARE\Microsoft\EdgeUpdate\ClientState\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}
// (the stable channel's client key), machine-wide or for the user (Brambolt, elevated, reads only
// the machine-wide one), in the 32-bit registry view; its string value "EBWebView" names the
// runtime's version folder, whose last component is the runtime's version, and the client library
// is
//   <that folder>\EBWebView\x64\EmbeddedBrowserWebView.dll
// exporting CreateWebViewEnvironmentWithOptionsInternal.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brambolt {

inline constexpr wchar_t kEvergreenClientStateKey[] =
    L"SOFTWARE\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
inline constexpr wchar_t kEvergreenLocationValue[] = L"EBWebView";

struct EvergreenClient {
    std::u16string version;    // for example "120.0.2210.91"
    std::u16string clientDll;  // the 64-bit client library inside the version folder
};

// The client that the "EBWebView" value describes; nullopt when its last component is no
// version of four dot-separated numbers.
[[nodiscard]] std::optional<EvergreenClient> EvergreenClientAt(std::u16string_view location);

}  // namespace brambolt
