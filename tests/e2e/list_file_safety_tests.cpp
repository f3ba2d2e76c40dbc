// The lock list under hostile files and quick hands, end to end with BramboltTestBench.exe: a list
// file the program cannot read is kept, a save that fails is reported and undone in the window, and
// leaving waits for every commit still running.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "automation.h"
#include "bench_scene.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/base/whole_file.h"
#include "brambolt/folders/lock_list_codec.h"
#include "brambolt/testbench/bench_journal.h"
#include "scene.h"

namespace e2e {
namespace {

using brambolt::LockListEntries;

constexpr wchar_t kUnreadableNotice[] =
    L"文件夹列表文件无法读取，列表暂时显示为空。\n原文件已保留，不会被覆盖或删除。";
constexpr wchar_t kCommitFailed[] =
    L"文件夹列表写入失败！请检查系统权限或安全软件拦截。\n列表已恢复为实际保存的内容。";

class ListFileSafety : public BenchScene {
  protected:
    // Files kept aside beside the list file.
    std::vector<std::wstring> KeptFiles() const {
        const std::filesystem::path list(listPath_);
        std::vector<std::wstring> kept;
        for (const auto& entry : std::filesystem::directory_iterator(list.parent_path())) {
            if (entry.path().filename().wstring().starts_with(L"TARNLOCKLIST.INI.unreadable-")) {
                kept.push_back(entry.path().wstring());
            }
        }
        return kept;
    }

    static Bytes ReadBytes(const std::wstring& path) {
        return brambolt::ReadWholeFile(path, 1 << 20).value_or(Bytes{});
    }
    static void PostDeleteOfFirstRow(HWND window) {
        ASSERT_TRUE(winauto::Post(::GetDlgItem(window, IDC_FOLDER_LIST), LB_SETCURSEL, 0, 0));
        ASSERT_TRUE(winauto::PressButton(window, IDC_DELETE_FOLDER));
    }
    bool ShowsOnlyItsMainWindow(HWND window) {
        winauto::WindowQuery query;
        query.processId = Process().processId;
        query.visibleOnly = true;
        return DrainPostedMessages(window) &&
               winauto::FindTopLevelWindows(query) == std::vector<HWND>{window};
    }

    // The driver's requests in order: the switches and "unload".
    static Words DriverWords() {
        Words words = JournalWords();
        std::erase_if(words, [](const std::wstring& word) {
            return !word.starts_with(L"protection ") && !word.starts_with(L"data access ") &&
                   word != L"unload";
        });
        return words;
    }
};

const Bytes kUtf8List = {'C', ':', '\\', 'A', 'L', 'P', 'H', 'A',  '\r', '\n',
                         'C', ':', '\\', 'B', 'E', 'T', 'A', '\r', '\n'};

TEST_F(ListFileSafety, AListFileWithoutTheMarkIsKeptAsideAndReportedOnceThenOkDeletesNothing) {
    WriteBytes(listPath_, kUtf8List);
    HWND window = Start(L"unreadable-list");
    ASSERT_NE(window, nullptr);
    const auto box = AnswerBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"警告");
    EXPECT_TRUE(box->text.starts_with(kUnreadableNotice)) << testing::PrintToString(box->text);
    const std::vector<std::wstring> kept = KeptFiles();
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_NE(box->text.find(kept[0]), std::wstring::npos) << "the box names the kept file";
    EXPECT_TRUE(Rows(window).empty());
    EXPECT_TRUE(ShowsOnlyItsMainWindow(window)) << "the notice came more than once";

    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
    EXPECT_EQ(ReadBytes(kept[0]), kUtf8List);

    HWND again = Start(L"unreadable-list-again");
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(ShowsOnlyItsMainWindow(again)) << "a start without a list file was told again";
    ASSERT_TRUE(winauto::PressButton(again, IDOK));
    ASSERT_TRUE(Exited());
}

TEST_F(ListFileSafety, AListFileHeldAtStartIsNotReplacedUntilItHasBeenKeptAside) {
    const LockListEntries two = {u"C:\\ALPHA", u"C:\\BETA"};
    const Bytes twoBytes = brambolt::EncodeLockList(two);
    WriteBytes(listPath_, twoBytes);
    brambolt::UniqueFile holder(::CreateFileW(listPath_.c_str(), GENERIC_READ, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    HWND window = Start(L"held-list");
    ASSERT_NE(window, nullptr);
    const auto notice = AnswerBox();
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->text, kUnreadableNotice) << "nothing could be kept aside yet";

    Browse(L"D:\\NEW");
    ASSERT_TRUE(winauto::PressButton(window, IDC_ADD_FOLDER));
    const auto failed = AnswerBox();
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->caption, L"错误");
    EXPECT_EQ(failed->text, kCommitFailed);
    EXPECT_EQ(failed->icon, winauto::IconKind::Error) << winauto::IconName(failed->icon);
    EXPECT_TRUE(Rows(window).empty()) << "the window shows a folder that is not saved";

    holder.reset();
    EXPECT_EQ(ReadBytes(listPath_), twoBytes);
    brambolt::testbench::ClearJournal();
    ASSERT_TRUE(winauto::PressButton(window, IDC_ADD_FOLDER));
    ASSERT_TRUE(WaitForCommits(1));
    EXPECT_EQ(ListFile(), LockListEntries{u"D:\\NEW"});
    const std::vector<std::wstring> kept = KeptFiles();
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_EQ(ReadBytes(kept[0]), twoBytes);
    EXPECT_EQ(Rows(window), Words{L"D:\\NEW"});
    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
}

TEST_F(ListFileSafety, ASaveThatFailsIsReportedAndTheWindowShowsWhatTheFileHolds) {
    HWND window = Start(L"failed-save");
    ASSERT_NE(window, nullptr);
    Browse(L"D:\\FIRST");
    brambolt::testbench::ClearJournal();
    ASSERT_TRUE(winauto::PressButton(window, IDC_ADD_FOLDER));
    ASSERT_TRUE(WaitForCommits(1));
    ASSERT_EQ(ListFile(), LockListEntries{u"D:\\FIRST"});

    brambolt::UniqueFile holder(::CreateFileW(listPath_.c_str(), GENERIC_READ, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    Browse(L"D:\\SECOND");
    ASSERT_TRUE(winauto::PressButton(window, IDC_ADD_FOLDER));
    const auto failed = AnswerBox();
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->text, kCommitFailed);
    EXPECT_EQ(Rows(window), Words{L"D:\\FIRST"});
    holder.reset();
    EXPECT_EQ(ListFile(), LockListEntries{u"D:\\FIRST"});

    // The list in memory went back with the window: a Delete now removes the saved entry.
    ASSERT_TRUE(winauto::Post(::GetDlgItem(window, IDC_FOLDER_LIST), LB_SETCURSEL, 0, 0));
    ASSERT_TRUE(winauto::PressButton(window, IDC_DELETE_FOLDER));
    ASSERT_TRUE(WaitForCommits(3));
    EXPECT_FALSE(ListFile().has_value());
    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
}

TEST_F(ListFileSafety, AddRefusesTheWindowsAndTheProgramFolderAsTheirEntriesWouldBeReadBack) {
    // The build folder lies below a "windows" folder: this installation lies elsewhere.
    const std::wstring programFolder = L"C:\\VorlinSafety";
    ::CreateDirectoryW(programFolder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW(WindowsPath(E2E_TESTBENCH_EXE).c_str(),
                            (programFolder + L"\\BramboltTestBench.exe").c_str(), FALSE));
    WriteBytes(programFolder + L"\\TarnBrambolt.sys", {'M', 'Z'});
    HWND window = StartProgram(programFolder + L"\\BramboltTestBench.exe");
    ASSERT_NE(window, nullptr);
    const std::wstring windowsRefusal = L"为保证系统稳定，不能包括WINDOWS文件夹";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\Windows ", windowsRefusal},
        {L"C:\\Windows\t", windowsRefusal},
        {L"C:\\Windows.", windowsRefusal},
        {L"C:/Windows", windowsRefusal},
        {programFolder + L"\\", L"为保证系统稳定，不能包括软件自身目录"},
    };
    for (const auto& [chosen, refusal] : cases) {
        SCOPED_TRACE(testing::PrintToString(chosen));
        Browse(chosen);
        ASSERT_TRUE(winauto::PressButton(window, IDC_ADD_FOLDER));
        const auto box = AnswerBox();
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, refusal);
    }
    EXPECT_TRUE(Rows(window).empty());
    EXPECT_FALSE(ListFile().has_value());
    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
}

TEST_F(ListFileSafety, OkRightAfterQuickDeletesWaitsForEveryCommitBeforeProtecting) {
    LockListEntries ten;
    for (char16_t c = u'A'; c < u'A' + 10; ++c) {
        ten.push_back(std::u16string(u"D:\\") + c);
    }
    WriteList(ten);
    HWND window = Start(L"quick-ok");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Driver().loaded; }));
    ASSERT_TRUE(DrainPostedMessages(window));
    brambolt::testbench::ClearJournal();

    for (int i = 0; i < 9; ++i) {
        PostDeleteOfFirstRow(window);
    }
    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
    EXPECT_EQ(ListFile(), LockListEntries{u"D:\\J"});
    Words expected;
    for (int i = 0; i < 9; ++i) {
        expected.insert(expected.end(), {L"data access 1", L"protection 1", L"data access 0"});
    }
    expected.push_back(L"protection 1");
    EXPECT_EQ(DriverWords(), expected);
    EXPECT_EQ(Driver().hiddenFolders, Words{L"D:\\J"});
}

TEST_F(ListFileSafety, OkRightAfterDeletingEveryEntryRemovesTheDriverOnlyAfterTheCommits) {
    WriteList({u"D:\\A", u"D:\\B", u"D:\\C"});
    HWND window = Start(L"quick-uninstall");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Driver().loaded; }));
    ASSERT_TRUE(DrainPostedMessages(window));
    brambolt::testbench::ClearJournal();

    for (int i = 0; i < 3; ++i) {
        PostDeleteOfFirstRow(window);
    }
    ASSERT_TRUE(winauto::PressButton(window, IDOK));
    ASSERT_TRUE(Exited());
    EXPECT_FALSE(ListFile().has_value());
    Words expected;
    for (int i = 0; i < 3; ++i) {
        expected.insert(expected.end(), {L"data access 1", L"protection 1", L"data access 0"});
    }
    expected.push_back(L"unload");
    EXPECT_EQ(DriverWords(), expected);
    EXPECT_FALSE(Driver().loaded);
    EXPECT_EQ(Driver().dataAccess, 0) << "the driver went while its data folder stood open";
}

}  // namespace
}  // namespace e2e
