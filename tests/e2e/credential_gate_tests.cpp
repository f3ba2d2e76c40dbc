// Start-up with a sealed credential record in the data folder: without a password the main window
// opens at once; with one, the start-up prompt asks for it first and the program ends unless it
// is given.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "automation.h"
#include "brambolt/framework/dpi_scale_rules.h"
#include "brambolt/password/pass_input_dlg.h"
#include "password_scene.h"
#include "scene.h"

namespace e2e {
namespace {

constexpr wchar_t kPassword[] = L"abc 123";

class CredentialGate : public PasswordScene {};

class RecordWithoutPassword : public PasswordScene,
                              public ::testing::WithParamInterface<const char16_t*> {};

TEST_P(RecordWithoutPassword, OpensTheMainWindowWithoutPrompt) {
    SaveRecordWithHash(GetParam());
    auto& brambolt = StartBrambolt();
    HWND main = WaitForMainWindow(brambolt.processId);
    ASSERT_NE(main, nullptr);
    winauto::WindowQuery prompt;
    prompt.caption = kPromptCaption;
    prompt.processId = brambolt.processId;
    EXPECT_TRUE(winauto::FindTopLevelWindows(prompt).empty()) << "a prompt was created";
    CloseMainWindow(main, brambolt);
}

// An empty hash field, and one character, count as no password.
INSTANTIATE_TEST_SUITE_P(HashFields, RecordWithoutPassword, ::testing::Values(u"", u"X"),
                         [](const auto& caseInfo) {
                             return std::string(caseInfo.param[0] == u'\0' ? "Empty"
                                                                           : "OneCharacter");
                         });

int Scaled(int length) {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return brambolt::ScaleForDpi(length, dpi);
}

TEST_F(CredentialGate, PromptIsCentredWithItsControlsAndTheFocusInTheMaskedEdit) {
    SaveRecordWithPassword(kPassword);
    auto& brambolt = StartBrambolt();
    HWND prompt = WaitForPrompt(brambolt.processId);
    ASSERT_NE(prompt, nullptr) << "no prompt appeared";

    const LONG style = ::GetWindowLongW(prompt, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
              WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(::GetWindowLongW(prompt, GWL_EXSTYLE) & (WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT),
              WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT);
    EXPECT_EQ(::GetClassLongPtrW(prompt, GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW),
              static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(::GetWindow(prompt, GW_OWNER), nullptr);
    RECT frame{};
    ASSERT_TRUE(::GetWindowRect(prompt, &frame));
    EXPECT_EQ(frame.right - frame.left, Scaled(460));
    EXPECT_EQ(frame.bottom - frame.top, Scaled(240));
    EXPECT_EQ(frame.left, (::GetSystemMetrics(SM_CXSCREEN) - Scaled(460)) / 2);
    EXPECT_EQ(frame.top, (::GetSystemMetrics(SM_CYSCREEN) - Scaled(240)) / 2);

    struct Control {
        int id;
        const wchar_t* className;
        const wchar_t* text;
        RECT logical;
        LONG style;
    };
    const Control expected[] = {
        {0xFFFF, L"Static", L"已开启密码保护，请输入独立口令：", {25, 25, 415, 50}, 0},
        // The edit control draws its border itself and drops WS_BORDER from its window style.
        {kPromptEdit, L"Edit", L"", {25, 60, 415, 90}, ES_PASSWORD | ES_AUTOHSCROLL},
        {kForgotPassword, L"Button", L"忘记密码?", {25, 120, 125, 155}, BS_PUSHBUTTON},
        {IDOK, L"Button", L"确定", {315, 120, 415, 155}, BS_DEFPUSHBUTTON},
    };
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(prompt, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    ASSERT_EQ(children.size(), std::size(expected));
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Control& c = expected[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(::GetDlgCtrlID(children[i]) & 0xFFFF, c.id);
        EXPECT_EQ(winauto::WindowClass(children[i]), c.className);
        EXPECT_EQ(winauto::WindowText(children[i]), c.text);
        const LONG childStyle = ::GetWindowLongW(children[i], GWL_STYLE);
        EXPECT_EQ(childStyle & (WS_CHILD | WS_VISIBLE | c.style), WS_CHILD | WS_VISIBLE | c.style);
        RECT placed{};
        ::GetWindowRect(children[i], &placed);
        ::MapWindowPoints(nullptr, prompt, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(placed.left, Scaled(c.logical.left));
        EXPECT_EQ(placed.top, Scaled(c.logical.top));
        EXPECT_EQ(placed.right, Scaled(c.logical.right));
        EXPECT_EQ(placed.bottom, Scaled(c.logical.bottom));
    }
    EXPECT_EQ(winauto::FocusedWindow(prompt), ::GetDlgItem(prompt, kPromptEdit));
    EXPECT_TRUE(winauto::SaveScreenshot(ScreenshotFolder() + L"\\password_prompt.bmp"));

    // Without a WebView2 runtime (as under Wine), 忘记密码? says so, then gives the prompt back.
    ASSERT_TRUE(winauto::PressButton(prompt, kForgotPassword));
    winauto::WindowQuery boxQuery;
    boxQuery.caption = L"错误";
    boxQuery.className = kDialogClass;
    boxQuery.processId = brambolt.processId;
    boxQuery.visibleOnly = true;
    HWND box = winauto::WaitForWindow(boxQuery, kWindowBound);
    ASSERT_NE(box, nullptr) << "no box about the missing runtime";
    const auto noRuntime = winauto::ReadMessageBox(box);
    ASSERT_TRUE(noRuntime.has_value());
    EXPECT_EQ(noRuntime->text, L"未检测到 WebView2 Runtime。");
    EXPECT_EQ(noRuntime->icon, winauto::IconKind::Error) << winauto::IconName(noRuntime->icon);
    EXPECT_EQ(::IsWindowEnabled(prompt), FALSE) << "the prompt stays usable under the box";
    ASSERT_TRUE(winauto::AnswerMessageBox(box, IDOK));
    const auto end = std::chrono::steady_clock::now() + kWindowBound;
    while ((::IsWindowEnabled(prompt) == FALSE ||
            winauto::FocusedWindow(prompt) != ::GetDlgItem(prompt, kPromptEdit)) &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_NE(::IsWindowEnabled(prompt), FALSE);
    EXPECT_EQ(winauto::FocusedWindow(prompt), ::GetDlgItem(prompt, kPromptEdit));
    EnterAtPrompt(prompt, kPassword);
    HWND main = WaitForMainWindow(brambolt.processId);
    ASSERT_NE(main, nullptr) << "the right password did not open the main window";
    EXPECT_FALSE(::IsWindow(prompt)) << "the prompt was not destroyed";
    CloseMainWindow(main, brambolt);
}

TEST_F(CredentialGate, WrongPasswordThenRetryEmptiesTheFieldUntilTheRightOneOpensTheMainWindow) {
    SaveRecordWithPassword(kPassword);
    auto& brambolt = StartBrambolt();
    HWND prompt = WaitForPrompt(brambolt.processId);
    ASSERT_NE(prompt, nullptr);
    HWND edit = ::GetDlgItem(prompt, kPromptEdit);

    for (const wchar_t* wrong : {L"abc123", L"abc  123"}) {  // spaces inside the password count
        EnterAtPrompt(prompt, wrong, true);
        const auto box = AnswerBox(brambolt.processId, L"验证失败", IDRETRY);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, L"独立保护口令错误！请重试。");
        EXPECT_EQ(box->icon, winauto::IconKind::Error) << winauto::IconName(box->icon);
        std::vector<int> buttons;
        for (const auto& button : box->buttons) {
            buttons.push_back(button.id);
        }
        std::sort(buttons.begin(), buttons.end());
        EXPECT_EQ(buttons, (std::vector<int>{IDCANCEL, IDRETRY}));
        EXPECT_EQ(box->owner, nullptr) << "the box has no owner";
        EXPECT_TRUE(WaitUntil([&] {
            return winauto::WindowText(edit).empty() && winauto::FocusedWindow(prompt) == edit;
        })) << "after Retry the field must be empty and focused";
    }
    EnterAtPrompt(prompt, kPassword);
    HWND main = WaitForMainWindow(brambolt.processId);
    ASSERT_NE(main, nullptr);
    CloseMainWindow(main, brambolt);
}

// WM_GETFONT does not cross processes under Wine, so the fonts are checked on a prompt of this
// process.
TEST(PromptControls, UseTheDefaultGuiFont) {
    brambolt::CPassInputDlg prompt({});
    ASSERT_TRUE(prompt.Create());
    int controls = 0;
    for (HWND child = ::GetWindow(prompt.Window(), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT), ++controls) {
        EXPECT_EQ(::SendMessageW(child, WM_GETFONT, 0, 0),
                  reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT)))
            << winauto::WindowText(child);
    }
    EXPECT_EQ(controls, 4);
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(prompt.Window(), kPromptEdit));
}

enum class GiveUp { CancelAfterWrongPassword, Escape, CloseBox };

class GivingUpAtThePrompt : public PasswordScene, public ::testing::WithParamInterface<GiveUp> {};

TEST_P(GivingUpAtThePrompt, EndsTheProgramWithoutTheMainWindow) {
    SaveRecordWithPassword(kPassword);
    auto& brambolt = StartBrambolt();
    HWND prompt = WaitForPrompt(brambolt.processId);
    ASSERT_NE(prompt, nullptr);
    switch (GetParam()) {
        case GiveUp::CancelAfterWrongPassword:
            EnterAtPrompt(prompt, L"wrong");
            ASSERT_TRUE(AnswerBox(brambolt.processId, L"验证失败", IDCANCEL).has_value());
            break;
        case GiveUp::Escape:
            ASSERT_TRUE(winauto::Post(::GetDlgItem(prompt, kPromptEdit), WM_KEYDOWN, VK_ESCAPE, 0));
            break;
        case GiveUp::CloseBox:
            ASSERT_TRUE(winauto::Post(prompt, WM_SYSCOMMAND, SC_CLOSE, 0));
            break;
    }
    ExpectEndWithoutMainWindow(brambolt);
}

INSTANTIATE_TEST_SUITE_P(Ways, GivingUpAtThePrompt,
                         ::testing::Values(GiveUp::CancelAfterWrongPassword, GiveUp::Escape,
                                           GiveUp::CloseBox),
                         [](const auto& caseInfo) {
                             switch (caseInfo.param) {
                                 case GiveUp::CancelAfterWrongPassword:
                                     return std::string("CancelAfterWrongPassword");
                                 case GiveUp::Escape:
                                     return std::string("Escape");
                                 case GiveUp::CloseBox:
                                     break;
                             }
                             return std::string("CloseBox");
                         });

}  // namespace
}  // namespace e2e
