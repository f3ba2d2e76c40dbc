// The main window's commands end to end: BramboltTestBench.exe under Wine with the stand-in driver
// and shell, driven from outside through its windows, its files and the stand-in's journal; and the
// shipped Brambolt.exe with the real folder browser.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "automation.h"
#include "bench_scene.h"
#include "brambolt/folders/lock_list_codec.h"
#include "brambolt/testbench/bench_journal.h"
#include "brambolt/testbench/stand_in_driver.h"
#include "scene.h"

namespace e2e {
namespace {

constexpr wchar_t kBrowseTitle[] = L"请选择要锁定的文件夹";
constexpr UINT kWakeMessage = WM_USER + 102;
const std::wstring kSafeBootMinimal =
    L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Minimal\\TarnBrambolt.sys";

class MainWindowScene : public BenchScene {};

TEST_F(MainWindowScene, AddAndDeleteChangeTheListTheFileAndTheDriverThenOkRemovesTheDriver) {
    HWND window = Start(L"add-delete");
    ASSERT_NE(window, nullptr);

    Browse(L"d:\\Photos\r\nignored second line\r\n");
    ASSERT_TRUE(winauto::PressButton(window, IDC_ADD_FOLDER));
    ASSERT_TRUE(WaitForCommits(1));
    ASSERT_EQ(ListFile(), brambolt::LockListEntries{u"D:\\PHOTOS"});
    EXPECT_EQ(Rows(window), Words{L"D:\\PHOTOS"});
    ASSERT_TRUE(WaitUntil([&] { return Driver().dataAccess == 0 && Driver().protection == 1; }));
    EXPECT_EQ(Driver().hiddenFolders, Words{L"D:\\PHOTOS"});
    EXPECT_EQ(JournalWords(), (Words{std::wstring(L"browse ") + kBrowseTitle, L"load",
                                     L"data access 1", L"protection 1", L"data access 0"}));

    for (const wchar_t* chosen : {L"E:\\Work", L"F:\\账本\\2024", L"d:\\photos"}) {
        Browse(chosen);
        ASSERT_TRUE(winauto::PressButton(window, IDC_ADD_FOLDER));
        ASSERT_TRUE(DrainPostedMessages(window));
    }
    const brambolt::LockListEntries four = {u"D:\\PHOTOS", u"E:\\WORK", u"F:\\账本\\2024",
                                            u"D:\\PHOTOS"};
    ASSERT_TRUE(WaitForCommits(4));
    ASSERT_EQ(ListFile(), four) << "a folder listed twice stays twice";
    EXPECT_TRUE(winauto::SaveScreenshot(ScreenshotFolder() + L"\\main_window_entries.bmp"));

    brambolt::testbench::ClearJournal();
    Select(window, 1);
    ASSERT_TRUE(winauto::PressButton(window, IDC_DELETE_FOLDER));
    const brambolt::LockListEntries three = {u"D:\\PHOTOS", u"F:\\账本\\2024", u"D:\\PHOTOS"};
    ASSERT_TRUE(WaitForCommits(1));
    ASSERT_EQ(ListFile(), three);
    EXPECT_EQ(Rows(window), (Words{L"D:\\PHOTOS", L"F:\\账本\\2024", L"D:\\PHOTOS"}));
    ASSERT_TRUE(WaitUntil([&] { return Driver().dataAccess == 0; }));
    EXPECT_EQ(JournalWords(), (Words{L"data access 1", L"protection 1", L"data access 0"}));

    ::SendMessageW(::GetDlgItem(window, IDC_FOLDER_LIST), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ASSERT_TRUE(winauto::PressButton(window, IDC_DELETE_FOLDER));
    ASSERT_TRUE(DrainPostedMessages(window));
    EXPECT_EQ(Rows(window).size(), 3U) << "Delete without a selected row does nothing";

    for (int i = 0; i < 3; ++i) {
        Select(window, 0);
        ASSERT_TRUE(winauto::PressButton(window, IDC_DELETE_FOLDER));
        ASSERT_TRUE(DrainPostedMessages(window));
    }
    ASSERT_TRUE(WaitForCommits(4));
    ASSERT_FALSE(ListFile().has_value()) << "the last Delete keeps a file";
    ASSERT_TRUE(RegistryKeyExists(kServicesKey + service_));

    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
    EXPECT_FALSE(RegistryKeyExists(kServicesKey + service_));
    EXPECT_TRUE(RegistryKeyExists(kSafeBootMinimal));
    EXPECT_FALSE(Driver().loaded);
}

TEST_F(MainWindowScene, TwoQuickEditsReachTheFileAndTheDriverInEditOrder) {
    WriteList({u"C:\\A", u"C:\\B"});
    HWND window = Start(L"quick-edits");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Driver().loaded; })) << "the driver thread loads the driver";
    Browse(L"C:\\NEW");
    brambolt::testbench::ClearJournal();

    // Both edits are queued before the window handles the first.
    Select(window, 0);
    ASSERT_TRUE(winauto::PressButton(window, IDC_DELETE_FOLDER));
    ASSERT_TRUE(winauto::PressButton(window, IDC_ADD_FOLDER));
    // The browser shows on the window's thread, whenever the first commit's thread runs.
    const auto driverWords = [] {
        Words words = JournalWords();
        std::erase_if(words, [](const std::wstring& word) { return word.starts_with(L"browse"); });
        return words;
    };
    ASSERT_TRUE(WaitUntil([&] { return driverWords().size() >= 6; }));
    EXPECT_EQ(ListFile(), (brambolt::LockListEntries{u"C:\\B", u"C:\\NEW"}));
    EXPECT_EQ(driverWords(), (Words{L"data access 1", L"protection 1", L"data access 0",
                                    L"data access 1", L"protection 1", L"data access 0"}));
    EXPECT_EQ(Driver().hiddenFolders, (Words{L"C:\\B", L"C:\\NEW"}));
    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
}

TEST_F(MainWindowScene, AddRefusesWhatMayNotBeProtectedAndChangesNothing) {
    // The build folder lies below a "windows" folder, which Add refuses before its own folder: this
    // installation lies elsewhere.
    const std::wstring programFolder = L"C:\\VorlinScene";
    ::CreateDirectoryW(programFolder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW(WindowsPath(E2E_TESTBENCH_EXE).c_str(),
                            (programFolder + L"\\BramboltTestBench.exe").c_str(), FALSE));
    WriteUtf8(programFolder + L"\\TarnBrambolt.sys", L"MZ");
    HWND window = StartProgram(programFolder + L"\\BramboltTestBench.exe");
    ASSERT_NE(window, nullptr);
    struct Case {
        std::wstring chosen;
        const wchar_t* text;  // nullptr: dropped without a box
    };
    std::wstring ownFolderInOtherCase = programFolder;
    for (wchar_t& c : ownFolderInOtherCase) {
        c = static_cast<wchar_t>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
    }
    const Case cases[] = {
        {L"C:\\Windows\\System32", L"为保证系统稳定，不能包括WINDOWS文件夹"},
        {ownFolderInOtherCase, L"为保证系统稳定，不能包括软件自身目录"},
        {L"C:\\", nullptr},
        {L"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.chosen));
        Browse(c.chosen);
        ASSERT_TRUE(winauto::PressButton(window, IDC_ADD_FOLDER));
        if (c.text != nullptr) {
            const auto box = AnswerBox();
            ASSERT_TRUE(box.has_value());
            EXPECT_EQ(box->caption, L"警告");
            EXPECT_EQ(box->text, c.text);
            EXPECT_TRUE(box->icon == winauto::IconKind::None ||
                        box->icon == winauto::IconKind::Unknown)
                << "a plain box shows no system icon, not " << winauto::IconName(box->icon);
        }
        ASSERT_TRUE(DrainPostedMessages(window));
    }
    EXPECT_TRUE(Rows(window).empty());
    EXPECT_FALSE(ListFile().has_value());
    EXPECT_FALSE(Driver().loaded) << "no refused folder brings the driver up";
    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
}

TEST_F(MainWindowScene, TenEntriesRefuseAddBeforeTheBrowserOpens) {
    brambolt::LockListEntries ten;
    for (char16_t c = u'A'; c < u'A' + 10; ++c) {
        ten.push_back(std::u16string(u"D:\\") + c);
    }
    WriteList(ten);
    HWND window = Start(L"ten");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Driver().loaded; }));
    brambolt::testbench::ClearJournal();
    Browse(L"D:\\ELEVENTH");
    ASSERT_TRUE(winauto::PressButton(window, IDC_ADD_FOLDER));
    const auto box = AnswerBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"警告");
    EXPECT_EQ(box->text, L"不允许超过10条记录");
    EXPECT_EQ(Rows(window).size(), 10U);
    EXPECT_TRUE(JournalWords().empty()) << "the browser opened";
    // Enter in the list presses the default button, OK: with entries, protection goes on.
    ASSERT_TRUE(winauto::Post(::GetDlgItem(window, IDC_FOLDER_LIST), WM_KEYDOWN, VK_RETURN, 0));
    ASSERT_TRUE(Exited());
    EXPECT_EQ(JournalWords(), Words{L"protection 1"});
    EXPECT_EQ(ListFile(), ten);
}

TEST_F(MainWindowScene, WithoutADriverThatLoadsAddAndDeleteChangeNothing) {
    WriteList({u"C:\\KEPT"});
    HWND window = Start(L"no-driver");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return DriverThreadDone(); }));
    // From now on the driver is gone and cannot load again: its file is missing.
    ASSERT_TRUE(::DeleteFileW(
        (installation_.substr(0, installation_.find_last_of(L'\\')) + L"\\TarnBrambolt.sys")
            .c_str()));
    ASSERT_EQ(brambolt::testbench::StandIn().FilterUnload(service_.c_str()), S_OK);

    Browse(L"D:\\NEW");
    ASSERT_TRUE(winauto::PressButton(window, IDC_ADD_FOLDER));
    const auto loadReport = AnswerBox();  // the load's own report first
    ASSERT_TRUE(loadReport.has_value());
    EXPECT_EQ(loadReport->caption, L"BramboltTestBench");
    auto refusal = AnswerBox();
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->caption, L"错误");
    EXPECT_EQ(refusal->text,
              L"驱动未正确加载，操作无效。驱动加载可能被安全软件拦截，请注意选择允许。");
    EXPECT_EQ(refusal->icon, winauto::IconKind::Warning) << winauto::IconName(refusal->icon);

    Select(window, 0);
    ASSERT_TRUE(winauto::PressButton(window, IDC_DELETE_FOLDER));
    AnswerBox();
    refusal = AnswerBox();
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->caption, L"错误");
    EXPECT_EQ(refusal->text, L"驱动未正确加载，操作无效");
    EXPECT_EQ(refusal->icon, winauto::IconKind::Warning) << winauto::IconName(refusal->icon);

    ASSERT_TRUE(DrainPostedMessages(window));
    EXPECT_EQ(Rows(window), Words{L"C:\\KEPT"});
    EXPECT_EQ(ListFile(), brambolt::LockListEntries{u"C:\\KEPT"});
    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
}

TEST_F(MainWindowScene, AnOpenedFolderIsProtectedAgainOnceNoExplorerWindowShowsIt) {
    WriteList({u"D:\\DATA", u"E:\\WORK"});
    HWND window = Start(L"watch");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Driver().loaded; }));
    Explorer(L"D:\\DATA\r\n");
    brambolt::testbench::ClearJournal();

    Select(window, 0);
    DoubleClick(window);
    ASSERT_TRUE(WaitUntilVisible(window, false));
    EXPECT_EQ(JournalWords(), (Words{L"protection 0", L"shellopen D:\\DATA 3"}));

    // Ticks come every three seconds; each stage outlasts one.
    const auto tick = 3500ms;
    for (const wchar_t* shown :
         {L"D:\\DATA", L"d:\\data\\2024\\Jan", L"::{20D04FE0}\r\nE:\\WORK"}) {
        Explorer(shown);
        EXPECT_FALSE(Exited(tick)) << "the watch ended while a listed folder was shown";
    }
    EXPECT_EQ(Driver().protection, 0);

    Explorer(L"D:\\DATA2\r\n::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\r\n");
    // The script no longer changes, so a watch that goes on at the next tick goes on for ever.
    ASSERT_TRUE(Exited()) << "a sibling or a virtual folder kept the watch going";
    EXPECT_EQ(Driver().protection, 1);
}

TEST_F(MainWindowScene, ASecondStartDuringTheWatchShowsTheWindowAndStopsTheWatch) {
    WriteList({u"D:\\DATA"});
    HWND window = Start(L"watch-wake");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Driver().loaded; }));
    Explorer(L"D:\\DATA");
    Select(window, 0);
    DoubleClick(window);
    ASSERT_TRUE(WaitUntilVisible(window, false));

    ASSERT_TRUE(winauto::Post(window, kWakeMessage, 101, 101));  // as a second start posts it
    ASSERT_TRUE(WaitUntilVisible(window, true));
    Explorer(L"");
    EXPECT_FALSE(Exited(4000ms)) << "the watch went on after the wake-up";
    EXPECT_EQ(Driver().protection, 0) << "the wake-up leaves the folders open";

    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
    EXPECT_EQ(Driver().protection, 1) << "OK with entries protects them again";
}

TEST_F(MainWindowScene, AnUnavailableWindowListProtectsAgainAtTheFirstTick) {
    WriteList({u"D:\\DATA"});
    HWND window = Start(L"watch-unavailable");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Driver().loaded; }));
    Explorer(L"!unavailable\r\nD:\\DATA\r\n");
    Select(window, 0);
    DoubleClick(window);
    // The script stays as it is, so every tick sees what the first one saw: a watch that went on
    // at the first tick would never end. The whole exit bound leaves room for a loaded machine.
    ASSERT_TRUE(Exited());
    EXPECT_EQ(Driver().protection, 1);
}

TEST_F(MainWindowScene, TheShippedProgramShowsTheSystemFolderBrowser) {
    HWND window = Start(L"browser", E2E_BRAMBOLT_EXE);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(winauto::PressButton(window, IDC_ADD_FOLDER));
    HWND browser = WaitForBox();
    ASSERT_NE(browser, nullptr) << "no folder browser";
    bool titled = false;
    for (HWND child = ::GetWindow(browser, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        titled = titled || winauto::WindowText(child) == kBrowseTitle;
    }
    EXPECT_TRUE(titled) << "the browser does not show the title";
    EXPECT_TRUE(winauto::SaveScreenshot(ScreenshotFolder() + L"\\folder_browser.bmp"));
    ASSERT_TRUE(winauto::PressButton(browser, IDCANCEL));
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindow(browser) == FALSE; }));
    ASSERT_TRUE(DrainPostedMessages(window));
    EXPECT_TRUE(Rows(window).empty()) << "a cancelled browser added a folder";
    EXPECT_EQ(WaitForBox(), nullptr) << "a cancelled browser showed a box";
    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
}

}  // namespace
}  // namespace e2e
