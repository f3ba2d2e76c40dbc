// Where the program finds its WebView2 runtime: the loader beside the program, and nothing when
// neither a loader nor a registered Evergreen runtime is there (as under Wine).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "brambolt/base/tests/test_folder.h"
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

}  // namespace
}  // namespace brambolt
