// Brambolt's two web views end to end, their real binding code against the stand-in WebView2
// runtime ("WebView2Loader.dll", copied beside this program and beside the installed Brambolt):
// the notice panel on the main dialog's template, the account recovery from a prompt-like owner
// window with the password edit 20001, and Brambolt.exe with and without the runtime.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "automation.h"
#include "brambolt/base/text_conversion.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/framework/app.h"
#include "brambolt/framework/dialog.h"
#include "brambolt/framework/message_map.h"
#include "brambolt/framework/modal_window.h"
#include "brambolt/password/credential_record.h"
#include "brambolt/password/credential_store.h"
#include "brambolt/resources/resource_ids.h"
#include "brambolt/web/account_recovery.h"
#include "brambolt/web/notice_panel.h"
#include "scene.h"
#include "stand_in_web_view.h"

namespace e2e {
namespace {

brambolt::CWinApp application;  // the framework's application object, as in Brambolt

constexpr char kNoticePage[] = "https://" E2E_VENDOR_HOST "/keldanew.html";
constexpr char kLoginPage[] = "https://" E2E_VENDOR_HOST "/brambolt/wx_login_new.php";
constexpr wchar_t kVerificationCaption[] = L"微信安全登录验证";
// SHA-256 of "oldpass1" and of "583064", as the credential record holds them.
constexpr wchar_t kHashOfOldpass1[] =
    L"9FFC3DCD1EC8DD41B3C13A3E28A2CFB41CD088FE5DBB2BC297E587CF9A74AF02";
constexpr wchar_t kHashOf583064[] =
    L"828E07A53E6268332EACF97B0FD6FF1A8378849E0CBA3792FE29BDB57B7C72D1";

std::wstring FolderOf(const std::wstring& program) {
    return program.substr(0, program.find_last_of(L'\\'));
}

void PageNavigates(const wchar_t* address) {
    using Navigate = BOOL (*)(PCWSTR);
    const auto navigate = reinterpret_cast<Navigate>(reinterpret_cast<void*>(::GetProcAddress(
        ::GetModuleHandleW(L"WebView2Loader.dll"), "WebView2StandInPageNavigate")));
    ASSERT_NE(navigate, nullptr);
    EXPECT_NE(navigate(address), FALSE);
}

// Message boxes of this process, read and answered with OK by a thread of their own while a scene
// runs on the user-interface thread.
class BoxWatcher {
  public:
    explicit BoxWatcher(std::function<void()> whileWaiting = {})
        : thread_([this, whileWaiting = std::move(whileWaiting)] {
              while (!stop_) {
                  if (whileWaiting) {
                      whileWaiting();
                  }
                  winauto::WindowQuery query;
                  query.className = kDialogClass;
                  query.processId = ::GetCurrentProcessId();
                  query.visibleOnly = true;
                  for (HWND box : winauto::FindTopLevelWindows(query)) {
                      if (winauto::WindowText(box) == kMainCaption) {
                          continue;
                      }
                      if (auto content = winauto::ReadMessageBox(box)) {
                          boxes_.push_back(*content);
                          winauto::AnswerMessageBox(box, IDOK);
                      }
                  }
                  std::this_thread::sleep_for(50ms);
              }
          }) {}
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;
    ~BoxWatcher() { Stop(); }

    const std::vector<winauto::MessageBoxContent>& Stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        return boxes_;
    }

  private:
    std::atomic<bool> stop_{false};
    std::vector<winauto::MessageBoxContent> boxes_;
    std::thread thread_;
};

// The main dialog's template with the notice panel started as the main window starts it. It ends
// once the stand-in has nothing left to do; `next`, when set, runs once at that point instead.
class PanelHost : public brambolt::CDialog {
  public:
    PanelHost() : CDialog(IDD_KELDA_DIALOG) {}

    std::function<void()> next;
    RECT placeholder{};

  protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        // The placeholder's rectangle from the template: x 7, y 139, 275 x 49 dialog units, each
        // converted on its own as the dialog manager places controls.
        RECT units{7, 139, 275, 49};
        ::MapDialogRect(Window(), &units);
        placeholder = {units.left, units.top, units.left + units.right, units.top + units.bottom};
        panel_.Start(Window(), ::GetDlgItem(Window(), IDC_NOTICE_PLACEHOLDER));
        ::SetTimer(Window(), 1, 50, nullptr);
        return TRUE;
    }
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                              std::intptr_t& result) override {
        if (message == WM_TIMER) {
            OnTimer();
            result = 0;
            return true;
        }
        return CDialog::ProcessWindowMessage(message, wParam, lParam, result);
    }

  private:
    void OnTimer() {
        idleTicks_ = StandInBusy() == 0 ? idleTicks_ + 1 : 0;
        if (idleTicks_ < 4) {
            return;
        }
        idleTicks_ = 0;
        if (next) {
            std::function<void()> step = std::move(next);
            next = nullptr;
            step();
        } else {
            ::KillTimer(Window(), 1);
            EndDialog(IDOK);
        }
    }

    brambolt::NoticePanel panel_;
    int idleTicks_ = 0;
};

std::string BoundsLine(const RECT& r) {
    return "bounds " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
           std::to_string(r.right) + " " + std::to_string(r.bottom);
}

int Count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

class NoticePanelScene : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                            ICC_WIN95_CLASSES | ICC_LINK_CLASS};
        ::InitCommonControlsEx(&controls);
    }
};

TEST_F(NoticePanelScene, FailedNoticePageShowsTheFallbackOnceOverThePlaceholder) {
    StandInHere().Script("fail https://\n");
    PanelHost host;
    BoxWatcher boxes;
    ASSERT_EQ(host.DoModal(), IDOK);
    EXPECT_TRUE(boxes.Stop().empty());
    const std::string page = kNoticePage;
    EXPECT_EQ(StandInHere().Log(),
              (std::vector<std::string>{
                  "version", "environment", "controller", BoundsLine(host.placeholder),
                  "navigate " + page, "starting " + page + " 0", "completed " + page + " 0",
                  "navigatetostring 402", "starting about:blank 0", "completed about:blank 1"}));
}

TEST_F(NoticePanelScene, FailureOfALocalOfflineSourceShowsNothing) {
    StandInHere().Script(std::string("redirect ") + kNoticePage +
                         " https://local-offline.example.com/notice\nfail https://local-offline\n");
    PanelHost host;
    ASSERT_EQ(host.DoModal(), IDOK);
    const std::vector<std::string> log = StandInHere().Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "completed https://local-offline.example.com/notice 0");
    EXPECT_EQ(Count(log, "navigatetostring 402"), 0);
}

TEST_F(NoticePanelScene, FailingFallbackClearsTheFlagSoTheNextFailureShowsItAgain) {
    StandInHere().Script("fail about:blank\nfail https://\n");
    PanelHost host;
    host.next = [] {
        EXPECT_EQ(Count(StandInHere().Log(), "navigatetostring 402"), 1);
        EXPECT_EQ(StandInHere().Log().back(), "completed about:blank 0") << "the fallback failed";
        PageNavigates(L"https://" E2E_VENDOR_HOST_W L"/next.html");
    };
    ASSERT_EQ(host.DoModal(), IDOK);
    const std::vector<std::string> log = StandInHere().Log();
    EXPECT_EQ(Count(log, "navigatetostring 402"), 2);
    EXPECT_EQ(Count(log, "completed about:blank 0"), 2);
    EXPECT_EQ(log.back(), "completed about:blank 0");
}

TEST_F(NoticePanelScene, WithoutRuntimeThereIsNoPanelAndNoMessage) {
    StandInHere().Script("nowebview\n");
    PanelHost host;
    BoxWatcher boxes;
    ASSERT_EQ(host.DoModal(), IDOK);
    EXPECT_TRUE(boxes.Stop().empty());
    EXPECT_EQ(StandInHere().Log(), (std::vector<std::string>{"version"}));
}

TEST_F(NoticePanelScene, FailedControllerIsReportedWithItsCode) {
    StandInHere().Script("nocontroller\n");
    PanelHost host;
    BoxWatcher boxes;
    ASSERT_EQ(host.DoModal(), IDOK);
    const auto& seen = boxes.Stop();
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(seen[0].caption, L"错误");
    EXPECT_EQ(seen[0].text, L"创建 WebView2 控制器失败：0x80004005");
    EXPECT_EQ(seen[0].icon, winauto::IconKind::Warning) << winauto::IconName(seen[0].icon);
    EXPECT_EQ(StandInHere().Log(),
              (std::vector<std::string>{"version", "environment", "controller"}));
}

// The start-up prompt's stand-in: a code-built owner window with the password edit 20001.
class PromptLike : public brambolt::CModalWindow {
  public:
    bool Create() {
        const brambolt::WindowClassSpec windowClass{L"WebViewTestPrompt", CS_HREDRAW | CS_VREDRAW,
                                                    IDC_ARROW, COLOR_BTNFACE};
        const brambolt::WindowSpec spec{WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                                        L"独立保护口令验证",
                                        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                                        100,
                                        100,
                                        460,
                                        240,
                                        nullptr};
        if (!CreateModalWindow(windowClass, spec)) {
            return false;
        }
        edit_ = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_PASSWORD,
                                  25, 60, 390, 30, Window(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(20001)),
                                  ::GetModuleHandleW(nullptr), nullptr);
        button_ =
            ::CreateWindowExW(0, L"BUTTON", L"忘记密码?", WS_CHILD | WS_VISIBLE, 25, 120, 100, 35,
                              Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(20002)),
                              ::GetModuleHandleW(nullptr), nullptr);
        ::SetFocus(button_);
        return edit_ != nullptr;
    }
    [[nodiscard]] HWND Edit() const { return edit_; }

  private:
    HWND edit_ = nullptr;
    HWND button_ = nullptr;
};

class AccountRecoveryScene : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto path = brambolt::GetCredentialRecordPath();
        ASSERT_TRUE(path.has_value());
        recordPath_ = *path;
        brambolt::credentialRecord = {};
        brambolt::SetFieldText(brambolt::credentialRecord.passwordHash,
                               brambolt::ToUtf16(kHashOfOldpass1));
        brambolt::SetFieldText(brambolt::credentialRecord.openid, u"oBOUND");
        ASSERT_TRUE(brambolt::SaveCredentialRecord(brambolt::credentialRecord));
        brambolt::credentialLoaded = true;
        ASSERT_TRUE(prompt_.Create());
    }
    void TearDown() override { ::DeleteFileW(recordPath_.c_str()); }

    // The hash in memory and the one in the sealed file.
    static std::wstring HashInMemory() {
        const std::u16string_view hash =
            brambolt::FieldText(brambolt::credentialRecord.passwordHash);
        return {hash.begin(), hash.end()};
    }
    std::wstring HashOnDisk() const {
        brambolt::CredentialRecord record{};
        bool loaded = false;
        brambolt::LoadCredentialRecord(recordPath_, record, loaded);
        const std::u16string_view hash = brambolt::FieldText(record.passwordHash);
        return loaded ? std::wstring(hash.begin(), hash.end()) : L"(no record)";
    }

    void ExpectPromptEnabledAndFocused() {
        EXPECT_NE(::IsWindowEnabled(prompt_.Window()), FALSE);
        EXPECT_EQ(::GetFocus(), prompt_.Edit());
    }

    std::wstring recordPath_;
    PromptLike prompt_;
};

TEST_F(AccountRecoveryScene, VerifiedOutcomeResetsThePasswordToTheFixedValue) {
    StandInHere().Script(std::string("redirect ") + kLoginPage + " success://cb?openid=abc&x=1\n");
    BoxWatcher boxes;
    brambolt::ResetPasswordViaWeChat(prompt_.Window());
    const auto& seen = boxes.Stop();
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(seen[0].caption, L"重置成功");
    EXPECT_EQ(seen[0].text, L"身份验证成功！密码已重置为：583064，请以此密码登录后重新设置。");
    EXPECT_EQ(seen[0].icon, winauto::IconKind::Information) << winauto::IconName(seen[0].icon);
    EXPECT_EQ(HashInMemory(), kHashOf583064) << "the next prompt accepts it";
    EXPECT_EQ(HashOnDisk(), kHashOf583064);
    EXPECT_TRUE(brambolt::credentialLoaded);
    EXPECT_EQ(brambolt::FieldText(brambolt::credentialRecord.openid), u"oBOUND");
    const std::vector<std::string> log = StandInHere().Log();
    EXPECT_EQ(
        Count(log, std::string("navigate ") + kLoginPage + "?action=reset&expected_openid=oBOUND"),
        1);
    EXPECT_EQ(Count(log, "starting success://cb?openid=abc&x=1 1"), 1);
    EXPECT_EQ(Count(log, "close"), 1);
    ExpectPromptEnabledAndFocused();
}

TEST_F(AccountRecoveryScene, UnauthorizedOutcomeIsRejectedAndChangesNothing) {
    StandInHere().Script(std::string("redirect ") + kLoginPage +
                         " success://cb?status=unauthorized&openid=abc/\n");
    BoxWatcher boxes;
    brambolt::ResetPasswordViaWeChat(prompt_.Window());
    const auto& seen = boxes.Stop();
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(seen[0].caption, L"重置失败");
    EXPECT_EQ(seen[0].text, L"身份验证失败！当前微信用户与记录不符。");
    EXPECT_EQ(seen[0].icon, winauto::IconKind::Error) << winauto::IconName(seen[0].icon);
    EXPECT_EQ(HashInMemory(), kHashOfOldpass1);
    EXPECT_EQ(HashOnDisk(), kHashOfOldpass1);
    ExpectPromptEnabledAndFocused();
}

TEST_F(AccountRecoveryScene, ClosingTheVerificationWindowChangesNothing) {
    StandInHere().Script("");
    std::atomic<bool> closed{false};
    BoxWatcher boxes([&closed] {
        if (closed || !StandInHere().Logged("zoom 1")) {
            return;
        }
        winauto::WindowQuery query;
        query.caption = kVerificationCaption;
        query.processId = ::GetCurrentProcessId();
        query.visibleOnly = true;
        for (HWND window : winauto::FindTopLevelWindows(query)) {
            winauto::SaveScreenshot(ScreenshotFolder() + L"\\wechat_verification.bmp");
            ::PostMessageW(window, WM_CLOSE, 0, 0);
            closed = true;
        }
    });
    brambolt::ResetPasswordViaWeChat(prompt_.Window());
    EXPECT_TRUE(boxes.Stop().empty());
    EXPECT_TRUE(closed);
    EXPECT_EQ(HashInMemory(), kHashOfOldpass1);
    EXPECT_EQ(HashOnDisk(), kHashOfOldpass1);
    const std::vector<std::string> log = StandInHere().Log();
    EXPECT_EQ(Count(log, "completed " + std::string(kLoginPage) +
                             "?action=reset&expected_openid=oBOUND 1"),
              1);
    EXPECT_EQ(Count(log, "close"), 1);
    ExpectPromptEnabledAndFocused();
}

TEST_F(AccountRecoveryScene, WithoutRuntimeTheVerificationSaysSoAndChangesNothing) {
    StandInHere().Script("nowebview\n");
    BoxWatcher boxes;
    brambolt::ResetPasswordViaWeChat(prompt_.Window());
    const auto& seen = boxes.Stop();
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_EQ(seen[0].caption, L"错误");
    EXPECT_EQ(seen[0].text, L"未检测到 WebView2 Runtime。");
    EXPECT_EQ(seen[0].icon, winauto::IconKind::Error) << winauto::IconName(seen[0].icon);
    EXPECT_EQ(HashOnDisk(), kHashOfOldpass1);
    EXPECT_EQ(StandInHere().Log(), (std::vector<std::string>{"version"}));
    ExpectPromptEnabledAndFocused();
}

// Brambolt.exe itself, started from an installation of its own.
class BramboltNoticePanel : public ::testing::Test {
  protected:
    void SetUp() override { DeleteStoredWindowValue(); }
    void TearDown() override {
        if (brambolt_.has_value() &&
            !winauto::WaitForExit(brambolt_->process.get(), 0ms).has_value()) {
            ::TerminateProcess(brambolt_->process.get(), 1);
            winauto::WaitForExit(brambolt_->process.get(), kExitBound);
        }
    }

    HWND Start(const std::wstring& scene, bool withStandIn, const std::string& script) {
        program_ = PrepareInstallation(scene, WindowsPath(E2E_BRAMBOLT_EXE), true);
        EXPECT_FALSE(program_.empty());
        if (withStandIn) {
            EXPECT_NE(::CopyFileW(WindowsPath(E2E_STAND_IN_LOADER).c_str(),
                                  (FolderOf(program_) + L"\\WebView2Loader.dll").c_str(), FALSE),
                      FALSE);
            StandInFolder(FolderOf(program_)).Script(script);
        }
        brambolt_ = winauto::StartProgram(program_, L"");
        if (!brambolt_.has_value()) {
            return nullptr;
        }
        winauto::WindowQuery query;
        query.caption = kMainCaption;
        query.processId = brambolt_->processId;
        query.visibleOnly = true;
        return winauto::WaitForWindow(query, kWindowBound);
    }
    void Close(HWND main) {
        ASSERT_TRUE(winauto::PressButton(main, IDOK));
        EXPECT_TRUE(winauto::WaitForExit(brambolt_->process.get(), kExitBound).has_value());
    }

    std::wstring program_;
    std::optional<winauto::StartedProcess> brambolt_;
};

TEST_F(BramboltNoticePanel, AsShippedTheMainWindowOpensWithoutPanelAndWithoutMessage) {
    HWND main = Start(L"web-shipped", false, "");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(DrainPostedMessages(main));
    winauto::WindowQuery query;
    query.processId = brambolt_->processId;
    query.visibleOnly = true;
    EXPECT_EQ(winauto::FindTopLevelWindows(query), std::vector<HWND>{main}) << "a box appeared";
    Close(main);
}

TEST_F(BramboltNoticePanel, FallbackPageShowsOverThePlaceholderWhenTheNoticePageFails) {
    HWND main = Start(L"web-fallback", true, "fail https://\n");
    ASSERT_NE(main, nullptr);
    const StandInFolder standIn(FolderOf(program_));
    ASSERT_TRUE(standIn.WaitForLine("completed about:blank 1"));
    ASSERT_TRUE(DrainPostedMessages(main));
    HWND page = ::FindWindowExW(main, nullptr, L"BramboltWebView2StandInPage", nullptr);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(winauto::WindowText(page), L"请仔细阅读以上注意事项");
    RECT placeholder{};
    ::GetWindowRect(::GetDlgItem(main, IDC_NOTICE_PLACEHOLDER), &placeholder);
    RECT shown{};
    ::GetWindowRect(page, &shown);
    EXPECT_TRUE(::EqualRect(&placeholder, &shown) != FALSE);
    EXPECT_EQ(Count(standIn.Log(), "navigatetostring 402"), 1);
    winauto::SaveScreenshot(ScreenshotFolder() + L"\\notice_panel_fallback.bmp");
    Close(main);
}

}  // namespace
}  // namespace e2e
