// Brambolt's start-up, end to end: the real executable under Wine on an X display, driven from
// outside through its windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "automation.h"
#include "scene.h"

namespace e2e {
namespace {

constexpr wchar_t kMutexName[] = L"OrinKelda";
constexpr UINT kWakeMessage = WM_USER + 102;

class BramboltStartup : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(MutexExists(kMutexName)) << "a Brambolt instance is still running";
        DeleteStoredWindowValue();
    }

    void TearDown() override {
        // A scene that failed half-way leaves its programs behind; they must not spoil the next.
        for (auto& process : started_) {
            if (!winauto::WaitForExit(process.process.get(), 0ms).has_value()) {
                ::TerminateProcess(process.process.get(), 1);
                winauto::WaitForExit(process.process.get(), kExitBound);
            }
        }
    }

    std::wstring Install(const std::wstring& scene, bool withDriverFile,
                         const char* program = E2E_BRAMBOLT_EXE) {
        std::wstring path = PrepareInstallation(scene, WindowsPath(program), withDriverFile);
        EXPECT_FALSE(path.empty()) << "cannot prepare the installation of " << program;
        return path;
    }

    winauto::StartedProcess& Start(const std::wstring& program, const std::wstring& arguments) {
        auto started = winauto::StartProgram(program, arguments);
        EXPECT_TRUE(started.has_value()) << "cannot start the program, error " << ::GetLastError();
        if (!started.has_value()) {
            throw std::runtime_error("program did not start");
        }
        started_.push_back(std::move(*started));
        return started_.back();
    }

    static HWND WaitForMainWindow(DWORD processId) {
        winauto::WindowQuery query;
        query.caption = kMainCaption;
        query.className = kDialogClass;
        query.processId = processId;
        query.visibleOnly = true;
        return winauto::WaitForWindow(query, kWindowBound);
    }

    // Ends a first instance through its OK button and checks that it leaves no mutex.
    static void CloseMainWindow(HWND window, const winauto::StartedProcess& process) {
        ASSERT_TRUE(winauto::PressButton(window, IDOK));
        const auto exitCode = winauto::WaitForExit(process.process.get(), kExitBound);
        ASSERT_TRUE(exitCode.has_value()) << "Brambolt did not end after OK";
        EXPECT_EQ(*exitCode, 0U);
        EXPECT_FALSE(MutexExists(kMutexName));
    }

    // A deque keeps the references handed out by Start valid.
    std::deque<winauto::StartedProcess> started_;
};

// The case name of a command line: the program is started with none, or with some.
std::string CommandLineName(const ::testing::TestParamInfo<const wchar_t*>& caseInfo) {
    return caseInfo.param[0] == L'\0' ? "NoArguments" : "WithArguments";
}

class DamagedInstallation : public BramboltStartup,
                            public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(DamagedInstallation, MissingDriverFileShowsTheWarningBoxThenExitsWithoutMutex) {
    const std::wstring program = Install(L"damaged", false);
    auto& brambolt = Start(program, GetParam());

    winauto::WindowQuery boxQuery;
    boxQuery.className = kDialogClass;
    boxQuery.processId = brambolt.processId;
    boxQuery.visibleOnly = true;
    HWND box = winauto::WaitForWindow(boxQuery, kWindowBound);
    ASSERT_NE(box, nullptr) << "no message box appeared";
    const auto content = winauto::ReadMessageBox(box);
    ASSERT_TRUE(content.has_value());
    EXPECT_EQ(content->caption, L"提示");
    EXPECT_EQ(content->text, L"程序完整性已被破坏，请重新安装。\n点击确定后将自动转到下载页面。");
    EXPECT_EQ(content->icon, winauto::IconKind::Warning) << winauto::IconName(content->icon);
    ASSERT_EQ(content->buttons.size(), 1U);
    EXPECT_EQ(content->buttons[0].id, IDOK);
    EXPECT_FALSE(MutexExists(kMutexName)) << "the mutex exists while the box is shown";

    ASSERT_TRUE(winauto::AnswerMessageBox(box, IDOK));
    std::optional<DWORD> exitCode;
    const std::vector<HWND> windows = VisibleWindowsUntilExit(brambolt, exitCode);
    ASSERT_TRUE(exitCode.has_value()) << "Brambolt did not end after the box";
    EXPECT_FALSE(MutexExists(kMutexName));
    for (HWND window : windows) {
        EXPECT_NE(winauto::WindowText(window), kMainCaption) << "the main window opened";
    }
    EXPECT_FALSE(StoredWindowValue().has_value()) << "the main window stored its handle";
}

TEST_P(DamagedInstallation, FirstInstanceOpensTheMainWindowAndStoresItsHandle) {
    const std::wstring program = Install(L"first", true);
    auto& brambolt = Start(program, GetParam());
    HWND window = WaitForMainWindow(brambolt.processId);
    ASSERT_NE(window, nullptr) << "the main window did not open";

    EXPECT_TRUE(MutexExists(kMutexName));
    const auto stored = StoredWindowValue();
    ASSERT_TRUE(stored.has_value()) << "KDWND was not written as REG_QWORD";
    EXPECT_EQ(*stored, reinterpret_cast<std::uintptr_t>(window));

    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    const LONG extendedStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_EQ(style & WS_SYSMENU, 0) << "the window must have no close box";
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME),
              WS_POPUP | WS_CAPTION | WS_THICKFRAME);
    EXPECT_EQ(extendedStyle & (WS_EX_TOPMOST | WS_EX_APPWINDOW), WS_EX_TOPMOST | WS_EX_APPWINDOW);

    CloseMainWindow(window, brambolt);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, DamagedInstallation,
                         ::testing::Values(L"", L"/uninstall --reset C:\\ \"two words\""),
                         CommandLineName);

TEST_F(BramboltStartup, MainWindowCarriesTheControlsOfItsTemplateInTabOrder) {
    const std::wstring program = Install(L"controls", true);
    auto& brambolt = Start(program, L"");
    HWND window = WaitForMainWindow(brambolt.processId);
    ASSERT_NE(window, nullptr);

    struct Control {
        int id;
        const wchar_t* className;
        const wchar_t* text;
    };
    const Control expected[] = {
        {IDOK, L"Button", L"确定"},
        {0xFFFF, L"Button", L"隐藏文件夹列表（可在列表中双击鼠标打开文件夹）"},
        {IDC_FOLDER_LIST, L"ListBox", L""},
        {IDC_ADD_FOLDER, L"Button", L"增加"},
        {IDC_DELETE_FOLDER, L"Button", L"删除"},
        {0xFFFF, L"Static",
         L"注意：\n1、以上文件夹将被自动隐藏并禁止任何程序访问，必须在上面的列表中双击鼠标来打开对"
         L"应"
         L"文件夹，关闭文件夹后将自动恢复隐藏状态。\n2、若要卸载本程序，请先删除上表中的内容，否则"
         L"仍将维持加密和隐藏状态。"},
        {IDC_NOTICE_PLACEHOLDER, L"Static", L"Static"},
        {IDC_UPDATE_LINK, L"SysLink", L"<a href=\"" E2E_VENDOR_LINK L"\">查看更新</a>"},
        {IDC_SET_PASSWORD, L"Button", L"设置密码"},
    };
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    ASSERT_EQ(children.size(), std::size(expected));
    for (std::size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(::GetDlgCtrlID(children[i]) & 0xFFFF, expected[i].id);
        EXPECT_EQ(winauto::WindowClass(children[i]), expected[i].className);
        EXPECT_EQ(winauto::WindowText(children[i]), expected[i].text);
    }
    EXPECT_EQ(::IsWindowVisible(::GetDlgItem(window, IDC_NOTICE_PLACEHOLDER)), FALSE)
        << "the panel placeholder";
    EXPECT_TRUE(winauto::ListBoxRows(::GetDlgItem(window, IDC_FOLDER_LIST)).empty());

    const std::wstring screenshot = ScreenshotFolder() + L"\\main_window.bmp";
    EXPECT_TRUE(winauto::SaveScreenshot(screenshot));

    CloseMainWindow(window, brambolt);
}

TEST_F(BramboltStartup, EscapeAndCancelLeaveTheMainWindowOpen) {
    const std::wstring program = Install(L"cancel", true);
    auto& brambolt = Start(program, L"");
    HWND window = WaitForMainWindow(brambolt.processId);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(winauto::Post(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0));
    HWND list = ::GetDlgItem(window, IDC_FOLDER_LIST);
    ASSERT_TRUE(winauto::Post(list, WM_KEYDOWN, VK_ESCAPE, 0));
    ASSERT_TRUE(DrainPostedMessages(window));
    EXPECT_FALSE(winauto::WaitForExit(brambolt.process.get(), 0ms).has_value());
    EXPECT_TRUE(::IsWindowVisible(window));
    CloseMainWindow(window, brambolt);
}

TEST_F(BramboltStartup, WakeUpShowsTheHiddenWindowOnlyWith101And101) {
    const std::wstring program = Install(L"wake", true);
    auto& brambolt = Start(program, L"");
    HWND window = WaitForMainWindow(brambolt.processId);
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_HIDE);
    ASSERT_TRUE(WaitUntilVisible(window, false));

    const std::pair<WPARAM, LPARAM> others[] = {
        {101, 100}, {100, 101}, {0, 0}, {101, 0}, {1126, 1126}};
    for (const auto& [wParam, lParam] : others) {
        ASSERT_TRUE(winauto::Post(window, kWakeMessage, wParam, lParam));
    }
    ASSERT_TRUE(DrainPostedMessages(window));
    EXPECT_FALSE(::IsWindowVisible(window)) << "a wake-up with other values showed the window";

    ASSERT_TRUE(winauto::Post(window, kWakeMessage, 101, 101));
    EXPECT_TRUE(WaitUntilVisible(window, true));
    CloseMainWindow(window, brambolt);
}

class SecondInstance : public BramboltStartup,
                       public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(SecondInstance, PostsTheWakeUpToTheStoredWindowAndExitsWithoutWindow) {
    const std::wstring program = Install(L"second", true);
    auto& first = Start(program, L"");
    HWND window = WaitForMainWindow(first.processId);
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_HIDE);
    ASSERT_TRUE(WaitUntilVisible(window, false));

    auto& second = Start(program, GetParam());
    std::optional<DWORD> exitCode;
    const std::vector<HWND> shown = VisibleWindowsUntilExit(second, exitCode);
    ASSERT_TRUE(exitCode.has_value()) << "the second instance did not end";
    EXPECT_TRUE(shown.empty()) << "the second instance showed a window";
    EXPECT_TRUE(WaitUntilVisible(window, true)) << "the first instance was not woken";
    EXPECT_TRUE(MutexExists(kMutexName)) << "the second instance released the first's mutex";
    CloseMainWindow(window, first);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, SecondInstance, ::testing::Values(L"", L"/show --wake 101"),
                         CommandLineName);

TEST_F(BramboltStartup, SecondInstanceWithoutStoredHandleSaysBramboltRunsAndExits) {
    const std::wstring program = Install(L"nohandle", true);
    auto& first = Start(program, L"");
    HWND window = WaitForMainWindow(first.processId);
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_HIDE);
    ASSERT_TRUE(WaitUntilVisible(window, false));

    for (const bool zeroValue : {true, false}) {
        SCOPED_TRACE(zeroValue ? "value zero" : "value missing");
        if (zeroValue) {
            WriteStoredWindowValue(0);
        } else {
            DeleteStoredWindowValue();
        }
        auto& second = Start(program, L"");
        winauto::WindowQuery boxQuery;
        boxQuery.caption = L"提示";
        boxQuery.processId = second.processId;
        boxQuery.visibleOnly = true;
        HWND box = winauto::WaitForWindow(boxQuery, kWindowBound);
        ASSERT_NE(box, nullptr) << "the second instance did not say that Brambolt runs";
        const auto content = winauto::ReadMessageBox(box);
        ASSERT_TRUE(content.has_value());
        EXPECT_EQ(content->text, L"程序已经在运行，请勿重复启动。");
        ASSERT_TRUE(winauto::AnswerMessageBox(box, IDOK));
        ASSERT_TRUE(winauto::WaitForExit(second.process.get(), kExitBound).has_value())
            << "the second instance did not end";
        ASSERT_TRUE(DrainPostedMessages(window));
        EXPECT_FALSE(::IsWindowVisible(window)) << "the first instance was woken";
        EXPECT_TRUE(MutexExists(kMutexName));
    }
    CloseMainWindow(window, first);
}

TEST_F(BramboltStartup, TestBenchBuildStartsLikeTheShippedProgram) {
    const std::wstring program = Install(L"testbench", true, E2E_TESTBENCH_EXE);
    auto& brambolt = Start(program, L"");
    HWND window = WaitForMainWindow(brambolt.processId);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(StoredWindowValue(), reinterpret_cast<std::uintptr_t>(window));
    CloseMainWindow(window, brambolt);
}

}  // namespace
}  // namespace e2e
