// The options object that Brambolt hands to the runtime, read back through its interface as the
// runtime reads it.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>

#include <string>

#include "brambolt/web/webview2_options.h"

namespace brambolt {
namespace {

// {FF85C98A-1BA7-4A6B-90C8-2B752C89E9E2}: ICoreWebView2EnvironmentOptions2, not offered.
constexpr IID kOptions2 = {
    0xFF85C98A, 0x1BA7, 0x4A6B, {0x90, 0xC8, 0x2B, 0x75, 0x2C, 0x89, 0xE9, 0xE2}};

struct TaskText {
    LPWSTR text = nullptr;
    ~TaskText() { ::CoTaskMemFree(text); }
};

TEST(DefaultEnvironmentOptions, HoldTheDefaultsWithTheTargetVersion) {
    const auto options = DefaultEnvironmentOptions::Make();
    ASSERT_TRUE(options);
    TaskText target;
    TaskText arguments;
    TaskText language;
    ASSERT_EQ(options->get_TargetCompatibleBrowserVersion(&target.text), S_OK);
    ASSERT_NE(target.text, nullptr);
    EXPECT_EQ(std::wstring(target.text), L"156.0.4314.35");
    EXPECT_EQ(options->get_AdditionalBrowserArguments(&arguments.text), S_OK);
    EXPECT_EQ(arguments.text, nullptr);
    EXPECT_EQ(options->get_Language(&language.text), S_OK);
    EXPECT_EQ(language.text, nullptr);
    BOOL singleSignOn = TRUE;
    EXPECT_EQ(options->get_AllowSingleSignOnUsingOSPrimaryAccount(&singleSignOn), S_OK);
    EXPECT_EQ(singleSignOn, FALSE);
}

TEST(DefaultEnvironmentOptions, AnswerOnlyForTheFirstOptionsInterface) {
    const auto options = DefaultEnvironmentOptions::Make();
    void* found = nullptr;
    ASSERT_EQ(options->QueryInterface(webview2::IID_ICoreWebView2EnvironmentOptions, &found), S_OK);
    EXPECT_EQ(found, options.get());
    static_cast<IUnknown*>(found)->Release();
    EXPECT_EQ(options->QueryInterface(kOptions2, &found), E_NOINTERFACE);
    EXPECT_EQ(found, nullptr);
}

TEST(DefaultEnvironmentOptions, ANullTextUnsetsIt) {
    const auto options = DefaultEnvironmentOptions::Make();
    ASSERT_EQ(options->put_TargetCompatibleBrowserVersion(nullptr), S_OK);
    TaskText target;
    EXPECT_EQ(options->get_TargetCompatibleBrowserVersion(&target.text), S_OK);
    EXPECT_EQ(target.text, nullptr);
    EXPECT_EQ(options->get_Language(nullptr), E_POINTER);
}

}  // namespace
}  // namespace brambolt
