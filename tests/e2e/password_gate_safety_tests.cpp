// The password gate under hostile conditions, end to end with the shipped Brambolt.exe: a record
// that another process holds open never lets the program start without the password, and the
// prompt accepts exactly the passwords that the set-password dialog could have stored.
#include <gtest/gtest.h>

#include <windows.h>

#include "automation.h"
#include "brambolt/base/unique_handle.h"
#include "password_scene.h"
#include "scene.h"

namespace e2e {
namespace {

// SHA-256 of the ASCII bytes "abc12?".
constexpr char16_t kHashOfAbc12Question[] =
    u"94471B53072965BA581140FE603B7FE1B27664D4F17D8EBF143F7EF70900AD5E";

class PasswordGateSafety : public PasswordScene {};

TEST_F(PasswordGateSafety, ARecordHeldByAnotherProcessEndsTheProgramAfterSayingSo) {
    SaveRecordWithHash(kHashOfAbc12Question);
    const brambolt::UniqueFile holder(::CreateFileW(recordPath_.c_str(), GENERIC_READ, 0, nullptr,
                                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    auto& brambolt = StartBrambolt();
    const auto box = AnswerBox(brambolt.processId, L"错误", IDOK);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"本地安全凭证读取失败！请检查系统权限或安全软件拦截。\n程序将退出。");
    EXPECT_EQ(box->icon, winauto::IconKind::Error) << winauto::IconName(box->icon);
    winauto::WindowQuery prompt;
    prompt.caption = kPromptCaption;
    prompt.processId = brambolt.processId;
    EXPECT_TRUE(winauto::FindTopLevelWindows(prompt).empty()) << "a prompt was created";
    ExpectEndWithoutMainWindow(brambolt);
}

TEST_F(PasswordGateSafety, ThePromptTrimsAsTheDialogDoesAndNoCodePageTurnsAWrongPasswordRight) {
    SaveRecordWithHash(kHashOfAbc12Question);
    auto& brambolt = StartBrambolt();
    HWND prompt = WaitForPrompt(brambolt.processId);
    ASSERT_NE(prompt, nullptr);

    EnterAtPrompt(prompt, L"abc12\u4e2d");  // a code page without 中 would make it "abc12?"
    const auto box = AnswerBox(brambolt.processId, L"验证失败", IDRETRY);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"独立保护口令错误！请重试。");

    EnterAtPrompt(prompt, L"  abc12?\t");
    HWND main = WaitForMainWindow(brambolt.processId);
    ASSERT_NE(main, nullptr) << "the password the dialog would have stored was refused";
    CloseMainWindow(main, brambolt);
}

}  // namespace
}  // namespace e2e
