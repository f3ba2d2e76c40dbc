// Where the program finds its WebView2 runtime: the loader beside the program, the Evergreen
// runtime of the machine-wide registration and never one the user registered, and nothing when
// neither a loader nor a registered Evergreen runtime is there (as under Wine).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "brambolt/base/tests/test_folder.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/web/webview2_runtime.h"

namespace brambolt {
namespace {

using testing::TestFolder;

std::wstring LoaderFile(const std::wstring& folder) {
    return folder + L"\\WebView2Loader.dll";
}

TEST(WebView2Runtime, LoaderBesideTheProgramIsUsed) {
    const TestFolder folder;
    ASSERT_NE(::CopyFileW(STAND_IN_LOADER, LoaderFile(folder.path()).c_str(), FALSE), FALSE);
    const auto runtime = WebView2Runtime::Find(folder.path());
    ASSERT_TRUE(runtime.has_value());
    EXPECT_TRUE(runtime->FromProgramFolder());
}

TEST(WebView2Runtime, NoLoaderAndNoRegistrationIsNoRuntime) {
    const TestFolder folder;
    EXPECT_FALSE(WebView2Runtime::Find(folder.path()).has_value());
}

TEST(WebView2Runtime, LibraryWithoutTheLoaderFunctionsIsNoLoader) {
    const TestFolder folder;
    std::wstring system(MAX_PATH, L'\0');
    system.resize(::GetSystemDirectoryW(system.data(), MAX_PATH));
    ASSERT_NE(
        ::CopyFileW((system + L"\\version.dll").c_str(), LoaderFile(folder.path()).c_str(), FALSE),
        FALSE);
    EXPECT_FALSE(WebView2Runtime::Find(folder.path()).has_value());
}

// The Evergreen client's registration under one root, removed again at the end.
class EvergreenRegistration {
  public:
    EvergreenRegistration(HKEY root, const std::wstring& location) : root_(root) {
        UniqueHkey key;
        created_ =
            ::RegCreateKeyExW(root_, kClientState, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY,
                              nullptr, key.put(), nullptr) == ERROR_SUCCESS &&
            ::RegSetValueExW(
                key.get(), L"EBWebView", 0, REG_SZ, reinterpret_cast<const BYTE*>(location.c_str()),
                static_cast<DWORD>((location.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    EvergreenRegistration(const EvergreenRegistration&) = delete;
    EvergreenRegistration& operator=(const EvergreenRegistration&) = delete;
    ~EvergreenRegistration() { ::RegDeleteKeyExW(root_, kClientState, KEY_WOW64_32KEY, 0); }
    [[nodiscard]] bool created() const noexcept { return created_; }

  private:
    static constexpr wchar_t kClientState[] =
        L"SOFTWARE\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
    HKEY root_;
    bool created_ = false;
};

TEST(WebView2Runtime, OnlyTheMachineWideRegistrationOfTheEvergreenRuntimeIsLoaded) {
    struct Case {
        const char* name;
        HKEY root;
        bool loaded;
    };
    // The user's own registration first: once loaded, a client stays loaded.
    for (const Case& registered :
         {Case{"user", HKEY_CURRENT_USER, false}, Case{"machine", HKEY_LOCAL_MACHINE, true}}) {
        const TestFolder programFolder;  // no loader beside the program
        const TestFolder runtimeFolder;
        const std::wstring version = runtimeFolder.File(L"120.0.2210.91");
        const std::wstring client = version + L"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll";
        for (const std::wstring& folder :
             {version, version + L"\\EBWebView", version + L"\\EBWebView\\x64"}) {
            ASSERT_NE(::CreateDirectoryW(folder.c_str(), nullptr), FALSE) << registered.name;
        }
        ASSERT_NE(::CopyFileW(STAND_IN_LOADER, client.c_str(), FALSE), FALSE) << registered.name;
        const EvergreenRegistration registration(registered.root, version);
        ASSERT_TRUE(registration.created()) << registered.name;

        const auto runtime = WebView2Runtime::Find(programFolder.path());
        EXPECT_EQ(runtime.has_value(), registered.loaded) << registered.name;
        EXPECT_EQ(::GetModuleHandleW(client.c_str()) != nullptr, registered.loaded)
            << registered.name;
    }
}

}  // namespace
}  // namespace brambolt
