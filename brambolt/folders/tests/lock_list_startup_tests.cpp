#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "brambolt/folders/lock_list_file.h"
#include "brambolt/folders/lock_list_startup.h"
#include "brambolt/folders/lock_list_store.h"
#include "test_folder.h"

namespace brambolt {
namespace {

using testing::TestFolder;

// A driver that answers or not, and a journal of what the list's file work asked of it.
struct FakeDriver {
    bool answers = false;
    std::vector<std::string> journal;

    LockListEnvironment Environment(const std::wstring& listPath) {
        return LockListEnvironment{
            [this, listPath] {
                journal.emplace_back("path");
                return std::optional<std::wstring>(listPath);
            },
            [this] {
                journal.emplace_back("ping");
                return answers;
            },
            [this](std::int32_t value) {
                journal.push_back("access " + std::to_string(value));
                return answers;
            },
        };
    }
};

TEST(LockListStartup, WithTheDriverAnsweringTheReadIsBracketedByDataAccess) {
    const TestFolder folder;
    const std::wstring path = folder.File(L"TARNLOCKLIST.INI");
    ASSERT_TRUE(SaveLockListFile(path, {u"C:\\DATA", u"D:\\PHOTOS"}));
    FakeDriver driver{true, {}};
    LockList list;

    const LockListStartup startup = LoadLockListAtStartup(driver.Environment(path), list);

    EXPECT_EQ(driver.journal, (std::vector<std::string>{"ping", "access 1", "path", "access 0"}));
    EXPECT_FALSE(startup.startEnsureDriverThread);
    EXPECT_EQ(startup.listBoxRows, (std::vector<std::wstring>{L"C:\\DATA", L"D:\\PHOTOS"}));
}

TEST(LockListStartup, WithoutTheDriverAListWithEntriesAsksForTheDriverThread) {
    const TestFolder folder;
    const std::wstring path = folder.File(L"TARNLOCKLIST.INI");
    ASSERT_TRUE(SaveLockListFile(path, {u"C:\\DATA"}));
    FakeDriver driver;
    LockList list;

    const LockListStartup startup = LoadLockListAtStartup(driver.Environment(path), list);

    EXPECT_EQ(driver.journal, (std::vector<std::string>{"ping", "path"}));
    EXPECT_TRUE(startup.startEnsureDriverThread);
    EXPECT_EQ(startup.listBoxRows, std::vector<std::wstring>{L"C:\\DATA"});
    EXPECT_EQ(list.Entries(), LockListEntries{u"C:\\DATA"});
}

TEST(LockListStartup, WithoutTheDriverAnEmptyListStartsNoDriverThread) {
    const TestFolder folder;
    FakeDriver driver;
    LockList list;
    const LockListStartup startup =
        LoadLockListAtStartup(driver.Environment(folder.File(L"TARNLOCKLIST.INI")), list);
    EXPECT_FALSE(startup.startEnsureDriverThread);
    EXPECT_TRUE(startup.listBoxRows.empty());
}

TEST(LockListStore, SavesThroughThePathOfTheEnvironment) {
    const TestFolder folder;
    const std::wstring path = folder.File(L"TARNLOCKLIST.INI");
    FakeDriver driver;
    LockList list;
    list.Append(u"C:\\DATA");
    OrderedLockListSaver saver;
    EXPECT_EQ(SaveLockList(driver.Environment(path), saver, list.Snapshot()),
              SaveOutcome::kWritten);
    LockList loaded;
    LoadLockList(driver.Environment(path), loaded);
    EXPECT_EQ(loaded.Entries(), LockListEntries{u"C:\\DATA"});
}

}  // namespace
}  // namespace brambolt
