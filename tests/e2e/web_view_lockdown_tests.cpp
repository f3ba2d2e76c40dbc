// Both web views against the stand-in WebView2 runtime, as the person at the keyboard would try
// them: each view is given its settings with developer tools, the default context menu, the
// status bar, the browser's keys and drops from outside all off, its user data folder is the
// user's own beside the data folder, and a page that asks for a new window gets none.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "automation.h"
#include "brambolt/framework/app.h"
#include "brambolt/web/notice_panel.h"
#include "brambolt/web/wechat_auth_dlg.h"
#include "scene.h"
#include "stand_in_web_view.h"

namespace e2e {
namespace {

brambolt::CWinApp application;  // the framework's application object, as in Brambolt

constexpr char kPopupAddress[] = "https://elsewhere.example.com/popup";
constexpr wchar_t kPopupClass[] = L"BramboltWebView2StandInPopup";
constexpr wchar_t kVerificationCaption[] = L"微信安全登录验证";
constexpr wchar_t kLoginPage[] = L"https://" E2E_VENDOR_HOST_W L"/brambolt/wx_login_new.php";

std::string Narrow(const std::wstring& text) {
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow.data(), size, nullptr, nullptr);
    narrow.pop_back();
    return narrow;
}

// Runs this thread's messages until the stand-in has had nothing to do for a few rounds, then
// calls `settled` once (inside whatever modal loop runs then).
class WhenSettled {
  public:
    explicit WhenSettled(std::function<void()> settled) : settled_(std::move(settled)) {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, 50, &WhenSettled::Tick);
    }
    WhenSettled(const WhenSettled&) = delete;
    WhenSettled& operator=(const WhenSettled&) = delete;
    ~WhenSettled() {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    [[nodiscard]] bool done() const noexcept { return done_; }

  private:
    static void CALLBACK Tick(HWND /*window*/, UINT /*message*/, UINT_PTR /*id*/, DWORD /*time*/) {
        WhenSettled* self = current_;
        if (self == nullptr || self->done_) {
            return;
        }
        self->idle_ = StandInBusy() == 0 ? self->idle_ + 1 : 0;
        if (self->idle_ >= 6) {
            self->done_ = true;
            self->settled_();
        }
    }

    static inline WhenSettled* current_ = nullptr;
    std::function<void()> settled_;
    UINT_PTR timer_ = 0;
    int idle_ = 0;
    bool done_ = false;
};

// Whether the stand-in had a new window open when the view settled, before the view closed.
bool windowWasOpen = false;

void NoteOpenWindow() {
    windowWasOpen = ::FindWindowW(kPopupClass, nullptr) != nullptr;
}

void RunNoticePanel() {
    const brambolt::UniqueHwnd host(::CreateWindowExW(0, L"STATIC", L"notice panel host",
                                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600,
                                                      400, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(host.valid());
    brambolt::NoticePanel panel;
    const WhenSettled settled(&NoteOpenWindow);
    panel.Start(host.get(), nullptr);
    MSG message{};
    while (!settled.done() && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void RunVerificationWindow() {
    const WhenSettled settled([] {
        NoteOpenWindow();
        for (HWND window : winauto::FindTopLevelWindows(
                 {kVerificationCaption, std::nullopt, ::GetCurrentProcessId(), false})) {
            ::PostMessageW(window, WM_CLOSE, 0, 0);
        }
    });
    EXPECT_EQ(brambolt::VerifyWithWeChat(std::wstring(kLoginPage) + L"?action=reset", nullptr), 2);
}

std::string ExpectedUserDataFolder() {
    std::array<wchar_t, MAX_PATH> local{};
    EXPECT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr,
                                             SHGFP_TYPE_CURRENT, local.data())));
    // Wine's account: the SID its tokens carry.
    return Narrow(local.data()) + "\\TARNBRT_S-1-5-21-0-0-0-1000.WebView2";
}

struct ViewCase {
    const char* name;
    void (*run)();
};

TEST(WebViewLockdown, EachViewIsLockedDownHasItsOwnDataFolderAndOpensNoWindow) {
    for (const ViewCase& view : {ViewCase{"notice panel", &RunNoticePanel},
                                 ViewCase{"verification window", &RunVerificationWindow}}) {
        StandInHere().Script(std::string("newwindow https:// ") + kPopupAddress + "\n");
        windowWasOpen = false;

        view.run();

        std::vector<std::string> settings = StandInHere().Lines(L"webview-settings.log");
        std::sort(settings.begin(), settings.end());
        EXPECT_EQ(settings,
                  (std::vector<std::string>{
                      "AllowExternalDrop 0", "AreBrowserAcceleratorKeysEnabled 0",
                      "AreDefaultContextMenusEnabled 0", "AreDevToolsEnabled 0",
                      "IsStatusBarEnabled 0", "UserDataFolder " + ExpectedUserDataFolder()}))
            << view.name;
        const std::vector<std::string> log = StandInHere().Log();
        EXPECT_EQ(std::count(log.begin(), log.end(),
                             std::string("newwindow ") + kPopupAddress + " refused"),
                  1)
            << view.name;
        EXPECT_FALSE(windowWasOpen) << view.name << ": a window opened";
    }
}

}  // namespace
}  // namespace e2e
