// The completion and event handlers that Brambolt hands to WebView2: small reference-counted
// objects that forward Invoke to a function and carry no logic of their own.
#pragma once

#include <windows.h>

#include <functional>
#include <new>
#include <utility>

#include "brambolt/base/com_ref.h"
#include "brambolt/web/webview2_abi.h"
#include "brambolt/web/webview2_lockdown_abi.h"

namespace brambolt {

template <typename Interface, const IID& kInterfaceId, typename... Arguments>
class WebView2Callback final : public Interface {
  public:
    using Function = std::function<HRESULT(Arguments...)>;

    static ComRef<Interface> Make(Function function) {
        return ComRef<Interface>::Adopt(new (std::nothrow) WebView2Callback(std::move(function)));
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (::IsEqualIID(id, IID_IUnknown) || ::IsEqualIID(id, kInterfaceId)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = ::InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE Invoke(Arguments... arguments) override {
        return function_(arguments...);
    }

  private:
    explicit WebView2Callback(Function function) : function_(std::move(function)) {}
    ~WebView2Callback() = default;

    LONG references_ = 1;
    Function function_;
};

using EnvironmentCompletedCallback =
    WebView2Callback<webview2::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
                     webview2::IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
                     HRESULT, webview2::ICoreWebView2Environment*>;
using ControllerCompletedCallback =
    WebView2Callback<webview2::ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                     webview2::IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
                     HRESULT, webview2::ICoreWebView2Controller*>;
using NavigationStartingCallback =
    WebView2Callback<webview2::ICoreWebView2NavigationStartingEventHandler,
                     webview2::IID_ICoreWebView2NavigationStartingEventHandler,
                     webview2::ICoreWebView2*, webview2::ICoreWebView2NavigationStartingEventArgs*>;
using NavigationCompletedCallback =
    WebView2Callback<webview2::ICoreWebView2NavigationCompletedEventHandler,
                     webview2::IID_ICoreWebView2NavigationCompletedEventHandler,
                     webview2::ICoreWebView2*,
                     webview2::ICoreWebView2NavigationCompletedEventArgs*>;

using NewWindowRequestedCallback =
    WebView2Callback<webview2::ICoreWebView2NewWindowRequestedEventHandler,
                     webview2::IID_ICoreWebView2NewWindowRequestedEventHandler,
                     webview2::ICoreWebView2*, webview2::ICoreWebView2NewWindowRequestedEventArgs*>;

}  // namespace brambolt
