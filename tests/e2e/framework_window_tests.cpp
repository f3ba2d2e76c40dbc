// The framework's windows on a real display: template dialogs and their modal loop, data
// exchange, code-built windows, and the application message box.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "automation.h"
#include "brambolt/framework/app.h"
#include "brambolt/framework/controls.h"
#include "brambolt/framework/dialog.h"
#include "brambolt/framework/hyperlink.h"
#include "brambolt/framework/message_box.h"
#include "brambolt/framework/message_map.h"
#include "brambolt/framework/modal_window.h"
#include "brambolt/resources/resource_ids.h"
#include "scene.h"

namespace brambolt {
namespace {

constexpr UINT kDrive = WM_APP + 1;

CWinApp g_application;  // gives the message box its caption

// The set-password template driven by posted messages: kDrive runs the scene's step once the
// dialog is up.
class ScriptedDialog : public CDialog {
  public:
    explicit ScriptedDialog(UINT templateId) : CDialog(templateId) {}

    std::function<void(ScriptedDialog&)> step;
    std::wstring password = L"preset";
    std::wstring confirmation;
    bool bindMissingControl = false;
    int setCommands = 0;
    std::wstring shownAtInit;

  protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        std::array<wchar_t, 64> text{};
        ::GetDlgItemTextW(Window(), IDC_PASSWORD_EDIT, text.data(), static_cast<int>(text.size()));
        shownAtInit = text.data();
        ::PostMessageW(Window(), kDrive, 0, 0);
        return TRUE;
    }
    void DoDataExchange(DataExchange& exchange) override {
        exchange.Text(IDC_PASSWORD_EDIT, password);
        exchange.Text(IDC_CONFIRM_EDIT, confirmation);
        if (bindMissingControl) {
            exchange.Text(4242, confirmation);
        }
    }
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                              std::intptr_t& result) override {
        static constexpr MessageMapEntry<ScriptedDialog> kMap[] = {
            OnMessage<ScriptedDialog>(kDrive, &ScriptedDialog::OnDrive),
            OnCommand<ScriptedDialog>(BN_CLICKED, IDC_SET_PASSWORD_OK, &ScriptedDialog::OnSet),
        };
        return ProcessMessageMap<ScriptedDialog>(*this, kMap, message, wParam, lParam, result) ||
               CDialog::ProcessWindowMessage(message, wParam, lParam, result);
    }

  private:
    std::intptr_t OnDrive(std::uintptr_t, std::intptr_t) {
        if (step) {
            step(*this);
        }
        return 0;
    }
    void OnSet() {
        ++setCommands;
        EndDialog(IDC_SET_PASSWORD_OK);
    }
};

void TypeInto(HWND dialog, int id, const wchar_t* text) {
    ::SetDlgItemTextW(dialog, id, text);
}

TEST(TemplateDialog, DataExchangeFillsTheControlsAndReadsThemBackOnOk) {
    ScriptedDialog dialog(IDD_SETPASS_DIALOG);
    dialog.step = [](ScriptedDialog& d) {
        TypeInto(d.Window(), IDC_PASSWORD_EDIT, L"abc 123");
        TypeInto(d.Window(), IDC_CONFIRM_EDIT, L"\u5bc6\u7801");
        ::PostMessageW(d.Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.shownAtInit, L"preset");
    EXPECT_EQ(dialog.password, L"abc 123");
    EXPECT_EQ(dialog.confirmation, L"\u5bc6\u7801");
    EXPECT_EQ(dialog.Window(), nullptr) << "the window is destroyed after the loop";
}

TEST(TemplateDialog, EscapeInAnEditCancelsThroughTheDialogManager) {
    ScriptedDialog dialog(IDD_SETPASS_DIALOG);
    dialog.step = [](ScriptedDialog& d) {
        HWND edit = ::GetDlgItem(d.Window(), IDC_PASSWORD_EDIT);
        ::PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.password, L"preset") << "cancel leaves the members";
}

TEST(TemplateDialog, EnterPressesTheDefaultButtonOfTheTemplate) {
    ScriptedDialog dialog(IDD_SETPASS_DIALOG);
    dialog.step = [](ScriptedDialog& d) {
        HWND edit = ::GetDlgItem(d.Window(), IDC_CONFIRM_EDIT);
        ::SetFocus(edit);
        ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDC_SET_PASSWORD_OK);
    EXPECT_EQ(dialog.setCommands, 1);
}

TEST(TemplateDialog, FailedBindingKeepsTheDialogOpen) {
    ScriptedDialog dialog(IDD_SETPASS_DIALOG);
    dialog.bindMissingControl = true;
    int drives = 0;
    dialog.step = [&drives](ScriptedDialog& d) {
        if (++drives == 1) {
            ::PostMessageW(d.Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            ::PostMessageW(d.Window(), kDrive, 0, 0);
        } else {
            EXPECT_FALSE(d.UpdateData(true));
            d.EndDialog(77);
        }
    };
    EXPECT_EQ(dialog.DoModal(), 77) << "OK must not end a dialog whose exchange failed";
}

TEST(TemplateDialog, EndDialogDuringInitialisationSkipsTheLoop) {
    class EndsAtOnce : public CDialog {
      public:
        EndsAtOnce() : CDialog(IDD_SETPASS_DIALOG) {}

      protected:
        BOOL OnInitDialog() override {
            EndDialog(5);
            return TRUE;
        }
    } dialog;
    EXPECT_EQ(dialog.DoModal(), 5);
}

TEST(TemplateDialog, MissingTemplateFailsWithMinusOne) {
    CDialog dialog(9999);
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(TemplateDialog, ListBoxAndLinkBindingsWorkOnTheMainTemplate) {
    class MainTemplate : public CDialog {
      public:
        MainTemplate() : CDialog(IDD_KELDA_DIALOG) {}
        CListBox list;
        CLinkCtrl link;
        std::vector<std::wstring> rows;
        int count = -1;
        int selection = 0;
        std::wstring linkText;

      protected:
        void DoDataExchange(DataExchange& exchange) override {
            exchange.Control(IDC_FOLDER_LIST, list);
        }
        BOOL OnInitDialog() override {
            CDialog::OnInitDialog();
            list.AddString(L"C:\\DATA");
            list.AddString(L"D:\\\u7167\u7247");
            list.AddString(L"E:\\X");
            list.DeleteString(1);
            count = list.GetCount();
            selection = list.GetCurSel();
            for (int i = 0; i < count; ++i) {
                rows.push_back(list.GetText(i));
            }
            link.Attach(Window(), IDC_UPDATE_LINK, L"https://", L"www.example.com/?frombrambolt");
            linkText = winauto::WindowText(link.Window());
            EndDialog(IDOK);
            return TRUE;
        }
    } dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.count, 2);
    EXPECT_EQ(dialog.selection, LB_ERR);
    EXPECT_EQ(dialog.rows, (std::vector<std::wstring>{L"C:\\DATA", L"E:\\X"}));
    EXPECT_EQ(dialog.linkText,
              L"<a href=\"https://www.example.com/?frombrambolt\">\u67e5\u770b\u66f4\u65b0</a>");
}

class PromptLikeWindow : public CModalWindow {
  protected:
    BOOL OnCommand(WPARAM wParam, LPARAM /*lParam*/) override {
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndModalLoop(LOWORD(wParam) == IDOK ? 1 : 2);
            return TRUE;
        }
        return FALSE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CLOSE) {
            EndModalLoop(2);  // the close request ends the loop; the window stays
            return 0;
        }
        return CModalWindow::WindowProc(message, wParam, lParam);
    }
};

bool CreatePrompt(PromptLikeWindow& window) {
    const WindowClassSpec windowClass{L"FrameworkTestPrompt", CS_HREDRAW | CS_VREDRAW, IDC_ARROW,
                                      COLOR_BTNFACE};
    const WindowSpec spec{WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                          L"prompt",
                          WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                          10,
                          10,
                          460,
                          240,
                          nullptr};
    return window.CreateModalWindow(windowClass, spec);
}

TEST(CodeBuiltWindow, ModalLoopEndsWithTheResultOfItsCommands) {
    PromptLikeWindow window;
    ASSERT_TRUE(CreatePrompt(window));
    ::PostMessageW(window.Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(window.RunModalLoop(), 1);
    ::PostMessageW(window.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window.RunModalLoop(), 2);
    EXPECT_TRUE(::IsWindow(window.Window())) << "the close request does not destroy the window";
    HWND handle = window.Window();
    window.DestroyModalWindow();
    EXPECT_FALSE(::IsWindow(handle));
    EXPECT_EQ(window.Window(), nullptr);
}

TEST(CodeBuiltWindow, QuitMessageEndsTheLoopAndIsPostedAgain) {
    PromptLikeWindow window;
    ASSERT_TRUE(CreatePrompt(window));
    ::PostQuitMessage(5);
    EXPECT_EQ(window.RunModalLoop(), IDCANCEL);
    MSG quit{};
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 5U);
}

TEST(CodeBuiltWindow, WindowDestroyedFromOutsideLeavesNothingToDestroyTwice) {
    PromptLikeWindow window;
    ASSERT_TRUE(CreatePrompt(window));
    ::DestroyWindow(window.Window());
    EXPECT_EQ(window.Window(), nullptr);
    EXPECT_EQ(window.RunModalLoop(), -1);
}

struct BoxCase {
    const char* name;
    UINT type;
    winauto::IconKind icon;
    std::vector<int> buttons;
    int answer;
};

class ApplicationMessageBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(ApplicationMessageBox, IsCaptionedWithTheProgramNameAndGetsItsIcon) {
    const BoxCase& c = GetParam();
    std::optional<winauto::MessageBoxContent> seen;
    std::thread reader([&] {
        winauto::WindowQuery query;
        query.className = L"#32770";
        query.processId = ::GetCurrentProcessId();
        query.visibleOnly = true;
        HWND box = winauto::WaitForWindow(query, e2e::kWindowBound);
        if (box != nullptr) {
            seen = winauto::ReadMessageBox(box);  // waits for the icon to be painted
            winauto::AnswerMessageBox(box, c.answer);
        }
    });
    const int answer = AppMessageBox(nullptr, L"\u6d4b\u8bd5 text", c.type);
    reader.join();
    ASSERT_TRUE(seen.has_value()) << "no box appeared";
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(seen->caption, L"brambolt_framework_window_e2e");
    EXPECT_EQ(seen->text, L"\u6d4b\u8bd5 text");
    EXPECT_EQ(seen->icon, c.icon) << winauto::IconName(seen->icon);
    std::vector<int> buttons;
    for (const auto& button : seen->buttons) {
        buttons.push_back(button.id);
    }
    std::sort(buttons.begin(), buttons.end());
    EXPECT_EQ(buttons, c.buttons);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ApplicationMessageBox,
    ::testing::Values(BoxCase{"OkWarnsByDefault", MB_OK, winauto::IconKind::Warning, {IDOK}, IDOK},
                      BoxCase{
                          "OkError", MB_OK | MB_ICONERROR, winauto::IconKind::Error, {IDOK}, IDOK},
                      BoxCase{"OkInformation",
                              MB_OK | MB_ICONINFORMATION,
                              winauto::IconKind::Information,
                              {IDOK},
                              IDOK},
                      BoxCase{"YesNo", MB_YESNO, winauto::IconKind::Question, {IDYES, IDNO}, IDNO},
                      BoxCase{"RetryCancelError",
                              MB_RETRYCANCEL | MB_ICONERROR,
                              winauto::IconKind::Error,
                              {IDCANCEL, IDRETRY},
                              IDRETRY}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

}  // namespace
}  // namespace brambolt
