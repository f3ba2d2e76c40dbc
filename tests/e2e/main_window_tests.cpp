// The main window's commands end to end: BramboltTestBench.exe under Wine with the stand-in driver
// and shell, driven from outside through its windows, its files and the stand-in's journal; and the
// shipped Brambolt.exe with the real folder browser.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "automation.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/base/whole_file.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/folders/lock_list_codec.h"
#include "brambolt/testbench/bench_journal.h"
#include "brambolt/testbench/stand_in_driver.h"
#include "scene.h"

namespace e2e {
namespace {

using brambolt::testbench::JournalEntry;
using brambolt::testbench::RequestKind;
using Words = std::vector<std::wstring>;

constexpr wchar_t kMutexName[] = L"OrinKelda";
constexpr wchar_t kBrowseTitle[] = L"请选择要锁定的文件夹";
constexpr UINT kWakeMessage = WM_USER + 102;
const std::wstring kSafeBootMinimal =
    L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Minimal\\TarnBrambolt.sys";

bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds bound = kWindowBound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

void WriteUtf8(const std::wstring& path, const std::wstring& text) {
    std::string utf8(
        static_cast<std::size_t>(::WideCharToMultiByte(
            CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr)),
        '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr);
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    file << utf8;
}

bool RegistryKeyExists(const std::wstring& key) {
    brambolt::UniqueHkey opened;
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, opened.put()) ==
           ERROR_SUCCESS;
}

// The journal as words: the driver's switches, the browser and the shell's opens, in order.
Words JournalWords() {
    Words words;
    for (const JournalEntry& entry : brambolt::testbench::ReadJournal()) {
        const std::wstring value = entry.value ? std::to_wstring(*entry.value) : L"";
        if (entry.kind == RequestKind::Control && entry.subject == L"0x00222164") {
            words.push_back(L"protection " + value);
        } else if (entry.kind == RequestKind::Control && entry.subject == L"0x00222180") {
            words.push_back(L"data access " + value);
        } else if (entry.kind == RequestKind::Browse) {
            words.push_back(L"browse " + entry.subject);
        } else if (entry.kind == RequestKind::ShellOpen) {
            words.push_back(L"shellopen " + entry.subject + L" " + value);
        } else if (entry.kind == RequestKind::Load) {
            words.push_back(L"load");
        }
    }
    return words;
}

class MainWindowScene : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(MutexExists(kMutexName)) << "a Brambolt instance is still running";
        DeleteStoredWindowValue();
        brambolt::testbench::ResetStandIn();
        folder_ = brambolt::testbench::BenchFolder();
        ::DeleteFileW((folder_ + L"\\browse.txt").c_str());
        ::DeleteFileW((folder_ + L"\\explorer.txt").c_str());
        const auto path = brambolt::GetLockListPath();
        ASSERT_TRUE(path.has_value());
        listPath_ = *path;
        ::DeleteFileW(listPath_.c_str());
        service_ = brambolt::GetDriverServiceName();
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kServices + service_).c_str());
    }

    void TearDown() override {
        for (auto& process : started_) {
            if (!winauto::WaitForExit(process.process.get(), 0ms).has_value()) {
                ::TerminateProcess(process.process.get(), 1);
                winauto::WaitForExit(process.process.get(), kExitBound);
            }
        }
        ::DeleteFileW(listPath_.c_str());
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kServices + service_).c_str());
        brambolt::testbench::ResetStandIn();
    }

    // Starts the program in a fresh installation and waits for its main window.
    HWND Start(const std::wstring& scene, const char* program = E2E_TESTBENCH_EXE) {
        installation_ = PrepareInstallation(scene, WindowsPath(program), true);
        return StartProgram(installation_);
    }
    HWND StartProgram(const std::wstring& program) {
        auto started = winauto::StartProgram(program, L"");
        if (!started) {
            ADD_FAILURE() << "the program did not start";
            return nullptr;
        }
        started_.push_back(std::move(*started));
        winauto::WindowQuery query;
        query.caption = kMainCaption;
        query.className = kDialogClass;
        query.processId = started_.back().processId;
        query.visibleOnly = true;
        return winauto::WaitForWindow(query, kWindowBound);
    }
    winauto::StartedProcess& Process() { return started_.back(); }

    void Browse(const std::wstring& chosen) { WriteUtf8(folder_ + L"\\browse.txt", chosen); }
    void Explorer(const std::wstring& lines) { WriteUtf8(folder_ + L"\\explorer.txt", lines); }

    void WriteList(const brambolt::LockListEntries& entries) {
        const auto bytes = brambolt::EncodeLockList(entries);
        std::ofstream file(std::filesystem::path(listPath_), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    // nullopt when there is no list file.
    std::optional<brambolt::LockListEntries> ListFile() const {
        const auto bytes = e2e::ReadFileShared(listPath_);
        if (!bytes) {
            return std::nullopt;
        }
        return brambolt::DecodeLockList(*bytes);
    }
    brambolt::testbench::DriverState Driver() const {
        return brambolt::testbench::ReadDriverState(service_);
    }

    // The next visible box of the program other than its main window.
    HWND WaitForBox(HWND previous = nullptr) {
        HWND found = nullptr;
        WaitFor([&] {
            winauto::WindowQuery query;
            query.className = kDialogClass;
            query.processId = Process().processId;
            query.visibleOnly = true;
            for (HWND window : winauto::FindTopLevelWindows(query)) {
                if (window != previous && winauto::WindowText(window) != kMainCaption) {
                    found = window;
                    return true;
                }
            }
            return false;
        });
        return found;
    }
    // Reads the next box, answers it with its first button and returns what it said.
    winauto::MessageBoxContent AnswerBox(HWND previous = nullptr) {
        HWND box = WaitForBox(previous);
        if (box == nullptr) {
            ADD_FAILURE() << "no box appeared";
            return {};
        }
        auto content = winauto::ReadMessageBox(box);
        if (!content || content->buttons.empty()) {
            ADD_FAILURE() << "unreadable box";
            return {};
        }
        winauto::AnswerMessageBox(box, content->buttons[0].id);
        WaitFor([&] { return ::IsWindow(box) == FALSE; });
        return *content;
    }

    // The start-up's driver thread has loaded the driver and pinged it once more: it will not touch
    // the driver again.
    static bool DriverThreadDone() {
        bool loaded = false;
        for (const JournalEntry& entry : brambolt::testbench::ReadJournal()) {
            loaded = loaded || (entry.kind == RequestKind::Load && entry.outcome == L"0x00000000");
            if (loaded && entry.kind == RequestKind::Control && entry.subject == L"0x00222160") {
                return true;
            }
        }
        return false;
    }

    static void Select(HWND window, int row) {
        ::SendMessageW(::GetDlgItem(window, 1000), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    }
    static void DoubleClick(HWND window) {
        winauto::Post(window, WM_COMMAND, MAKEWPARAM(1000, LBN_DBLCLK),
                      reinterpret_cast<LPARAM>(::GetDlgItem(window, 1000)));
    }
    static Words Rows(HWND window) { return winauto::ListBoxRows(::GetDlgItem(window, 1000)); }
    bool Exited(std::chrono::milliseconds bound = kExitBound) {
        return winauto::WaitForExit(Process().process.get(), bound).has_value();
    }

    const std::wstring kServices = L"SYSTEM\\CurrentControlSet\\Services\\";
    std::wstring folder_;
    std::wstring listPath_;
    std::wstring service_;
    std::wstring installation_;
    std::deque<winauto::StartedProcess> started_;
};

TEST_F(MainWindowScene, AddAndDeleteChangeTheListTheFileAndTheDriverThenOkRemovesTheDriver) {
    HWND window = Start(L"add-delete");
    ASSERT_NE(window, nullptr);

    Browse(L"d:\\Photos\r\nignored second line\r\n");
    ASSERT_TRUE(winauto::PressButton(window, 1001));
    ASSERT_TRUE(WaitFor([&] { return ListFile() == brambolt::LockListEntries{u"D:\\PHOTOS"}; }));
    EXPECT_EQ(Rows(window), Words{L"D:\\PHOTOS"});
    ASSERT_TRUE(WaitFor([&] { return Driver().dataAccess == 0 && Driver().protection == 1; }));
    EXPECT_EQ(Driver().hiddenFolders, Words{L"D:\\PHOTOS"});
    EXPECT_EQ(JournalWords(), (Words{std::wstring(L"browse ") + kBrowseTitle, L"load",
                                     L"data access 1", L"protection 1", L"data access 0"}));

    for (const wchar_t* chosen : {L"E:\\Work", L"F:\\账本\\2024", L"d:\\photos"}) {
        Browse(chosen);
        ASSERT_TRUE(winauto::PressButton(window, 1001));
        ASSERT_TRUE(DrainPostedMessages(window));
    }
    const brambolt::LockListEntries four = {u"D:\\PHOTOS", u"E:\\WORK", u"F:\\账本\\2024",
                                            u"D:\\PHOTOS"};
    ASSERT_TRUE(WaitFor([&] { return ListFile() == four; })) << "a folder listed twice stays twice";
    EXPECT_TRUE(winauto::SaveScreenshot(ScreenshotFolder() + L"\\main_window_entries.bmp"));

    brambolt::testbench::ClearJournal();
    Select(window, 1);
    ASSERT_TRUE(winauto::PressButton(window, 1002));
    const brambolt::LockListEntries three = {u"D:\\PHOTOS", u"F:\\账本\\2024", u"D:\\PHOTOS"};
    ASSERT_TRUE(WaitFor([&] { return ListFile() == three; }));
    EXPECT_EQ(Rows(window), (Words{L"D:\\PHOTOS", L"F:\\账本\\2024", L"D:\\PHOTOS"}));
    ASSERT_TRUE(WaitFor([&] { return Driver().dataAccess == 0; }));
    EXPECT_EQ(JournalWords(), (Words{L"data access 1", L"protection 1", L"data access 0"}));

    ::SendMessageW(::GetDlgItem(window, 1000), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ASSERT_TRUE(winauto::PressButton(window, 1002));
    ASSERT_TRUE(DrainPostedMessages(window));
    EXPECT_EQ(Rows(window).size(), 3U) << "Delete without a selected row does nothing";

    for (int i = 0; i < 3; ++i) {
        Select(window, 0);
        ASSERT_TRUE(winauto::PressButton(window, 1002));
        ASSERT_TRUE(DrainPostedMessages(window));
    }
    ASSERT_TRUE(WaitFor([&] { return !ListFile().has_value(); })) << "the last Delete keeps a file";
    ASSERT_TRUE(RegistryKeyExists(kServices + service_));

    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
    EXPECT_FALSE(RegistryKeyExists(kServices + service_));
    EXPECT_TRUE(RegistryKeyExists(kSafeBootMinimal));
    EXPECT_FALSE(Driver().loaded);
}

TEST_F(MainWindowScene, TwoQuickEditsReachTheFileAndTheDriverInEditOrder) {
    WriteList({u"C:\\A", u"C:\\B"});
    HWND window = Start(L"quick-edits");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Driver().loaded; })) << "the driver thread loads the driver";
    Browse(L"C:\\NEW");
    brambolt::testbench::ClearJournal();

    // Both edits are queued before the window handles the first.
    Select(window, 0);
    ASSERT_TRUE(winauto::PressButton(window, 1002));
    ASSERT_TRUE(winauto::PressButton(window, 1001));
    // The browser shows on the window's thread, whenever the first commit's thread runs.
    const auto driverWords = [] {
        Words words = JournalWords();
        std::erase_if(words, [](const std::wstring& word) { return word.starts_with(L"browse"); });
        return words;
    };
    ASSERT_TRUE(WaitFor([&] { return driverWords().size() >= 6; }));
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
        ASSERT_TRUE(winauto::PressButton(window, 1001));
        if (c.text != nullptr) {
            const auto box = AnswerBox();
            EXPECT_EQ(box.caption, L"警告");
            EXPECT_EQ(box.text, c.text);
            EXPECT_TRUE(box.icon == winauto::IconKind::None ||
                        box.icon == winauto::IconKind::Unknown)
                << "a plain box shows no system icon, not " << winauto::IconName(box.icon);
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
    ASSERT_TRUE(WaitFor([&] { return Driver().loaded; }));
    brambolt::testbench::ClearJournal();
    Browse(L"D:\\ELEVENTH");
    ASSERT_TRUE(winauto::PressButton(window, 1001));
    const auto box = AnswerBox();
    EXPECT_EQ(box.caption, L"警告");
    EXPECT_EQ(box.text, L"不允许超过10条记录");
    EXPECT_EQ(Rows(window).size(), 10U);
    EXPECT_TRUE(JournalWords().empty()) << "the browser opened";
    // Enter in the list presses the default button, OK: with entries, protection goes on.
    ASSERT_TRUE(winauto::Post(::GetDlgItem(window, 1000), WM_KEYDOWN, VK_RETURN, 0));
    ASSERT_TRUE(Exited());
    EXPECT_EQ(JournalWords(), Words{L"protection 1"});
    EXPECT_EQ(ListFile(), ten);
}

TEST_F(MainWindowScene, WithoutADriverThatLoadsAddAndDeleteChangeNothing) {
    WriteList({u"C:\\KEPT"});
    HWND window = Start(L"no-driver");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return DriverThreadDone(); }));
    // From now on the driver is gone and cannot load again: its file is missing.
    ASSERT_TRUE(::DeleteFileW(
        (installation_.substr(0, installation_.find_last_of(L'\\')) + L"\\TarnBrambolt.sys")
            .c_str()));
    ASSERT_EQ(brambolt::testbench::StandIn().FilterUnload(service_.c_str()), S_OK);

    Browse(L"D:\\NEW");
    ASSERT_TRUE(winauto::PressButton(window, 1001));
    EXPECT_EQ(AnswerBox().caption, L"BramboltTestBench");  // the load's own report first
    auto refusal = AnswerBox();
    EXPECT_EQ(refusal.caption, L"错误");
    EXPECT_EQ(refusal.text,
              L"驱动未正确加载，操作无效。驱动加载可能被安全软件拦截，请注意选择允许。");
    EXPECT_EQ(refusal.icon, winauto::IconKind::Warning) << winauto::IconName(refusal.icon);

    Select(window, 0);
    ASSERT_TRUE(winauto::PressButton(window, 1002));
    AnswerBox();
    refusal = AnswerBox();
    EXPECT_EQ(refusal.caption, L"错误");
    EXPECT_EQ(refusal.text, L"驱动未正确加载，操作无效");
    EXPECT_EQ(refusal.icon, winauto::IconKind::Warning) << winauto::IconName(refusal.icon);

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
    ASSERT_TRUE(WaitFor([&] { return Driver().loaded; }));
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
    ASSERT_TRUE(Exited(2 * tick)) << "a sibling or a virtual folder kept the watch going";
    EXPECT_EQ(Driver().protection, 1);
}

TEST_F(MainWindowScene, ASecondStartDuringTheWatchShowsTheWindowAndStopsTheWatch) {
    WriteList({u"D:\\DATA"});
    HWND window = Start(L"watch-wake");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Driver().loaded; }));
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
    ASSERT_TRUE(WaitFor([&] { return Driver().loaded; }));
    Explorer(L"!unavailable\r\nD:\\DATA\r\n");
    Select(window, 0);
    DoubleClick(window);
    ASSERT_TRUE(Exited(6000ms));
    EXPECT_EQ(Driver().protection, 1);
}

TEST_F(MainWindowScene, TheShippedProgramShowsTheSystemFolderBrowser) {
    HWND window = Start(L"browser", E2E_BRAMBOLT_EXE);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(winauto::PressButton(window, 1001));
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
    ASSERT_TRUE(WaitFor([&] { return ::IsWindow(browser) == FALSE; }));
    ASSERT_TRUE(DrainPostedMessages(window));
    EXPECT_TRUE(Rows(window).empty()) << "a cancelled browser added a folder";
    EXPECT_EQ(WaitForBox(), nullptr) << "a cancelled browser showed a box";
    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
}

}  // namespace
}  // namespace e2e
