#include "brambolt/web/webview2_runtime.h"

#include <objbase.h>

#include <array>
#include <cstring>

#include "brambolt/base/program_directory.h"
#include "brambolt/base/text_conversion.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/web/evergreen_registration.h"

namespace brambolt {

namespace {

template <typename Function>
Function Export(HMODULE module, const char* name) {
    // Win32 hands exports out as one generic function type.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Freed again unless its exports are taken into use; then it stays loaded for the life of the
// process (see WebView2Runtime::Installed).
UniqueHmodule Load(const std::wstring& path) {
    return UniqueHmodule(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

std::optional<std::wstring> ReadEvergreenLocation(HKEY root) {
    UniqueHkey key;
    if (::RegOpenKeyExW(root, kEvergreenClientStateKey, 0, KEY_READ | KEY_WOW64_32KEY, key.put()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::array<wchar_t, MAX_PATH + 1> location{};
    DWORD bytes = sizeof(location) - sizeof(wchar_t);
    if (::RegGetValueW(key.get(), nullptr, kEvergreenLocationValue, RRF_RT_REG_SZ, nullptr,
                       location.data(), &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(location.data());
}

}  // namespace

const WebView2Runtime* WebView2Runtime::Installed() {
    static const std::optional<WebView2Runtime> runtime = Find(ProgramDirectory());
    return runtime.has_value() ? &*runtime : nullptr;
}

std::optional<WebView2Runtime> WebView2Runtime::Find(const std::wstring& programFolder) {
    if (auto loader = FromLoader(programFolder)) {
        return loader;
    }
    return FromEvergreenRegistration();
}

std::optional<WebView2Runtime> WebView2Runtime::FromLoader(const std::wstring& programFolder) {
    if (programFolder.empty()) {
        return std::nullopt;
    }
    const std::wstring path = programFolder + L"\\WebView2Loader.dll";
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    UniqueHmodule loader = Load(path);
    if (!loader) {
        return std::nullopt;
    }
    WebView2Runtime runtime;
    runtime.versionFunction_ =
        Export<webview2::GetAvailableCoreWebView2BrowserVersionStringFunction>(
            loader.get(), "GetAvailableCoreWebView2BrowserVersionString");
    runtime.createFunction_ = Export<webview2::CreateCoreWebView2EnvironmentWithOptionsFunction>(
        loader.get(), "CreateCoreWebView2EnvironmentWithOptions");
    if (runtime.versionFunction_ == nullptr || runtime.createFunction_ == nullptr) {
        return std::nullopt;  // not a loader: freed, nothing of it is in use
    }
    loader.release();  // its functions are in use from now on, for the life of the process
    return runtime;
}

std::optional<WebView2Runtime> WebView2Runtime::FromEvergreenRegistration() {
    // The machine-wide registration only: Brambolt runs elevated, and the user's own registration
    // is a value that any of the user's processes can point at a folder of its choosing.
    const std::optional<std::wstring> location = ReadEvergreenLocation(HKEY_LOCAL_MACHINE);
    if (!location.has_value()) {
        return std::nullopt;
    }
    const std::optional<EvergreenClient> client = EvergreenClientAt(ToUtf16(*location));
    if (!client.has_value()) {
        return std::nullopt;
    }
    UniqueHmodule module = Load(ToWide(client->clientDll));
    if (!module) {
        return std::nullopt;
    }
    WebView2Runtime runtime;
    runtime.internalCreateFunction_ =
        Export<InternalCreateFunction>(module.get(), "CreateWebViewEnvironmentWithOptionsInternal");
    if (runtime.internalCreateFunction_ == nullptr) {
        return std::nullopt;  // freed: nothing of it is in use
    }
    module.release();  // its function is in use from now on, for the life of the process
    runtime.evergreenVersion_ = ToWide(client->version);
    return runtime;
}

HRESULT WebView2Runtime::GetAvailableBrowserVersionString(LPWSTR* version) const {
    if (versionFunction_ != nullptr) {
        return versionFunction_(nullptr, version);
    }
    if (version == nullptr) {
        return E_POINTER;
    }
    const std::size_t bytes = (evergreenVersion_.size() + 1) * sizeof(wchar_t);
    *version = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
    if (*version == nullptr) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(*version, evergreenVersion_.c_str(), bytes);
    return S_OK;
}

HRESULT WebView2Runtime::CreateEnvironmentWithOptions(
    webview2::ICoreWebView2EnvironmentOptions* options,
    webview2::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) const {
    // Never the loader's default beside the program, which every administrator of the machine
    // would share: a folder of the current user's own, private to the elevated program.
    const std::optional<std::wstring> userData = GetWebViewDataFolder();
    if (!userData.has_value()) {
        return E_ACCESSDENIED;
    }
    if (createFunction_ != nullptr) {
        return createFunction_(nullptr, userData->c_str(), options, handler);
    }
    // The client's own entry: check for a running browser instance, the installed (not a fixed
    // version) runtime kind 0.
    constexpr int kInstalledRuntime = 0;
    return internalCreateFunction_(true, kInstalledRuntime, userData->c_str(), options, handler);
}

}  // namespace brambolt
