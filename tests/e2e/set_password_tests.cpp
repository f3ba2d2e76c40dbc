// Setting the protection password from the main window's Set-password button: every refusal with
// its text and icon, the saved record, the prompt at the next start, and a save that fails.
#include <gtest/gtest.h>

#include <windows.h>

#include "automation.h"
#include "brambolt/base/text_conversion.h"
#include "brambolt/base/unique_handle.h"
#include "password_scene.h"
#include "scene.h"

namespace e2e {
namespace {

class SetPassword : public PasswordScene {
  protected:
    // Opens the dialog over the main window; the main window is disabled while it runs.
    static HWND OpenDialog(HWND main, DWORD processId) {
        EXPECT_TRUE(winauto::PressButton(main, IDC_SET_PASSWORD));
        HWND dialog = WaitForTopLevel(processId, kSetPasswordCaption);
        EXPECT_NE(dialog, nullptr) << "the set-password dialog did not open";
        if (dialog != nullptr) {
            EXPECT_EQ(::GetWindow(dialog, GW_OWNER), main);
            EXPECT_TRUE(WaitUntil([main] { return ::IsWindowEnabled(main) == FALSE; }));
        }
        return dialog;
    }

    // Types both fields, presses 确认 and answers the application box that follows.
    static std::optional<winauto::MessageBoxContent> Submit(HWND dialog, DWORD processId,
                                                            const std::wstring& password,
                                                            const std::wstring& confirmation) {
        EXPECT_TRUE(winauto::SetControlText(dialog, IDC_PASSWORD_EDIT, password));
        EXPECT_TRUE(winauto::SetControlText(dialog, IDC_CONFIRM_EDIT, confirmation));
        EXPECT_TRUE(winauto::PressButton(dialog, IDC_SET_PASSWORD_OK));
        auto box = AnswerBox(processId, kProgramName, IDOK);
        if (box.has_value()) {
            EXPECT_EQ(box->owner, dialog) << "the box is owned by the dialog";
            EXPECT_EQ(box->buttons.size(), 1U);
        }
        return box;
    }

    [[nodiscard]] std::wstring StoredHash() const {
        const auto record = LoadRecord();
        return record ? brambolt::ToWide(brambolt::FieldText(record->passwordHash)) : L"";
    }
};

TEST_F(SetPassword, FromTheMainWindowAfterEveryRefusalThenAskedAtTheNextStart) {
    auto& brambolt = StartBrambolt();
    HWND main = WaitForMainWindow(brambolt.processId);
    ASSERT_NE(main, nullptr);

    HWND dialog = OpenDialog(main, brambolt.processId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(winauto::ControlText(dialog, IDC_PASSWORD_EDIT), L"");
    EXPECT_EQ(winauto::ControlText(dialog, IDC_CONFIRM_EDIT), L"");
    ASSERT_TRUE(winauto::PressButton(dialog, IDC_SET_PASSWORD_CANCEL));
    ASSERT_TRUE(WaitUntil([dialog] { return ::IsWindow(dialog) == FALSE; })) << "取消 closes";
    EXPECT_FALSE(LoadRecord().has_value()) << "cancel wrote a record";
    EXPECT_TRUE(WaitUntil([main] { return ::IsWindowEnabled(main) != FALSE; }));

    dialog = OpenDialog(main, brambolt.processId);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(winauto::SetControlText(dialog, IDC_PASSWORD_EDIT, L"  abc 123  "));
    EXPECT_TRUE(winauto::SaveScreenshot(ScreenshotFolder() + L"\\set_password_dialog.bmp"));

    struct Refusal {
        const wchar_t* password;
        const wchar_t* confirmation;
        const wchar_t* text;
    };
    const Refusal refusals[] = {
        {L"", L"abc123", L"保护口令不能为空，请输入密码！"},
        {L"   ", L"", L"保护口令不能为空，请输入密码！"},
        {L"abc\uFF11\uFF12\uFF13", L"abc\uFF11\uFF12\uFF13", L"只能输入英文、数字或半角字符"},
        {L"abcde", L"abcde", L"密码长度应不少于6位，不多于12位"},
        {L"abcdefghijklm", L"other", L"密码长度应不少于6位，不多于12位"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(r.password)));
        const auto box = Submit(dialog, brambolt.processId, r.password, r.confirmation);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, r.text);
        EXPECT_EQ(box->icon, winauto::IconKind::Warning) << winauto::IconName(box->icon);
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "a refusal closed the dialog";
    }
    EXPECT_FALSE(LoadRecord().has_value()) << "a refused password was saved";

    const auto mismatch = Submit(dialog, brambolt.processId, L"  abc 123  ", L"abc 124");
    ASSERT_TRUE(mismatch.has_value());
    EXPECT_EQ(mismatch->text, L"两次输入的口令不一致，请重新输入！");
    EXPECT_EQ(mismatch->icon, winauto::IconKind::Warning) << winauto::IconName(mismatch->icon);
    HWND confirmEdit = ::GetDlgItem(dialog, IDC_CONFIRM_EDIT);
    EXPECT_TRUE(WaitUntil([&] { return winauto::FocusedWindow(dialog) == confirmEdit; }))
        << "the confirmation field is not focused";
    EXPECT_EQ(winauto::ControlText(dialog, IDC_PASSWORD_EDIT), L"abc 123") << "shown trimmed";
    EXPECT_EQ(winauto::ControlText(dialog, IDC_CONFIRM_EDIT), L"");

    const auto saved = Submit(dialog, brambolt.processId, L"  abc 123  ", L"abc 123");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->text, L"独立保护口令设置成功！");
    EXPECT_EQ(saved->icon, winauto::IconKind::Information) << winauto::IconName(saved->icon);
    EXPECT_TRUE(WaitUntil([dialog] { return ::IsWindow(dialog) == FALSE; })) << "still open";
    // SHA-256 of "abc 123".
    EXPECT_EQ(StoredHash(), L"58384E9216293C79C817A333C0098482F2D59F826CAC1E3DAE7A8B904C1EA3A4");
    CloseMainWindow(main, brambolt);

    auto& again = StartBrambolt();
    HWND prompt = WaitForPrompt(again.processId);
    ASSERT_NE(prompt, nullptr) << "the next start did not ask for the password";
    EnterAtPrompt(prompt, L"abc 123");
    main = WaitForMainWindow(again.processId);
    ASSERT_NE(main, nullptr);
    CloseMainWindow(main, again);
}

TEST_F(SetPassword, ASaveThatFailsShowsTheFailureBoxAndKeepsTheDialogOpen) {
    auto& brambolt = StartBrambolt();
    HWND main = WaitForMainWindow(brambolt.processId);
    ASSERT_NE(main, nullptr);
    HWND dialog = OpenDialog(main, brambolt.processId);
    ASSERT_NE(dialog, nullptr);

    {
        // Another process holds the record file open without sharing.
        const brambolt::UniqueFile held(
            ::CreateFileW(recordPath_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held.valid());
        const auto failed = Submit(dialog, brambolt.processId, L"secret1", L"secret1");
        ASSERT_TRUE(failed.has_value());
        EXPECT_EQ(failed->text, L"本地安全凭证写入失败！请检查系统权限或安全软件拦截。");
        EXPECT_EQ(failed->icon, winauto::IconKind::Error) << winauto::IconName(failed->icon);
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "the dialog closed after a failed save";
        EXPECT_EQ(winauto::ControlText(dialog, IDC_PASSWORD_EDIT), L"secret1");
    }
    const auto saved = Submit(dialog, brambolt.processId, L"secret1", L"secret1");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->text, L"独立保护口令设置成功！");
    // SHA-256 of "secret1".
    EXPECT_EQ(StoredHash(), L"5B11618C2E44027877D0CD0921ED166B9F176F50587FC91E7534DD2946DB77D6");
    CloseMainWindow(main, brambolt);
}

}  // namespace
}  // namespace e2e
