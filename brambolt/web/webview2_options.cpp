#include "brambolt/web/webview2_options.h"

#include <objbase.h>

#include <cstring>
#include <new>

namespace brambolt {

namespace {

HRESULT CopyOut(const std::optional<std::wstring>& text, LPWSTR* value) {
    if (value == nullptr) {
        return E_POINTER;
    }
    *value = nullptr;
    if (!text.has_value()) {
        return S_OK;
    }
    const std::size_t bytes = (text->size() + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
    if (copy == nullptr) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(copy, text->c_str(), bytes);
    *value = copy;
    return S_OK;
}

void CopyIn(LPCWSTR value, std::optional<std::wstring>& text) {
    if (value == nullptr) {
        text.reset();
    } else {
        text = value;
    }
}

}  // namespace

ComRef<webview2::ICoreWebView2EnvironmentOptions> DefaultEnvironmentOptions::Make() {
    return ComRef<webview2::ICoreWebView2EnvironmentOptions>::Adopt(
        new (std::nothrow) DefaultEnvironmentOptions());
}

HRESULT DefaultEnvironmentOptions::QueryInterface(REFIID id, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (::IsEqualIID(id, IID_IUnknown) ||
        ::IsEqualIID(id, webview2::IID_ICoreWebView2EnvironmentOptions)) {
        *object = static_cast<webview2::ICoreWebView2EnvironmentOptions*>(this);
        AddRef();
        return S_OK;
    }
    // The later options interfaces are not offered: the runtime keeps their defaults.
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG DefaultEnvironmentOptions::AddRef() {
    return ::InterlockedIncrement(&references_);
}

ULONG DefaultEnvironmentOptions::Release() {
    const ULONG left = ::InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT DefaultEnvironmentOptions::get_AdditionalBrowserArguments(LPWSTR* value) {
    return CopyOut(additionalBrowserArguments_, value);
}

HRESULT DefaultEnvironmentOptions::put_AdditionalBrowserArguments(LPCWSTR value) {
    CopyIn(value, additionalBrowserArguments_);
    return S_OK;
}

HRESULT DefaultEnvironmentOptions::get_Language(LPWSTR* value) {
    return CopyOut(language_, value);
}

HRESULT DefaultEnvironmentOptions::put_Language(LPCWSTR value) {
    CopyIn(value, language_);
    return S_OK;
}

HRESULT DefaultEnvironmentOptions::get_TargetCompatibleBrowserVersion(LPWSTR* value) {
    return CopyOut(targetCompatibleBrowserVersion_, value);
}

HRESULT DefaultEnvironmentOptions::put_TargetCompatibleBrowserVersion(LPCWSTR value) {
    CopyIn(value, targetCompatibleBrowserVersion_);
    return S_OK;
}

HRESULT DefaultEnvironmentOptions::get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) {
    if (allow == nullptr) {
        return E_POINTER;
    }
    *allow = allowSingleSignOnUsingOSPrimaryAccount_;
    return S_OK;
}

HRESULT DefaultEnvironmentOptions::put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL allow) {
    allowSingleSignOnUsingOSPrimaryAccount_ = allow;
    return S_OK;
}

}  // namespace brambolt
