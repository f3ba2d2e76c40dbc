// The first load of the program's lock list file, through a recording driver port.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "brambolt/driver/tests/recording_port.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/folders/lock_list_file.h"
#include "brambolt/folders/lock_list_startup.h"
#include "brambolt/folders/lock_list_store.h"

namespace brambolt {
namespace {

using Requests = std::vector<std::string>;

// The user's own list file, removed afterwards.
class ProgramListFile : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::optional<std::wstring> listPath = GetLockListPath();
        ASSERT_TRUE(listPath.has_value());
        path = *listPath;
    }
    void TearDown() override { ::DeleteFileW(path.c_str()); }

    std::wstring path;
    testing::RecordingPort port;
    testing::ScopedDriverPort installed{port};
    LockList list;
};

TEST_F(ProgramListFile, WithTheDriverAnsweringTheReadIsBracketedByDataAccess) {
    ASSERT_TRUE(SaveLockListFile(path, {u"C:\\DATA", u"D:\\PHOTOS"}));

    const LockListStartup startup = LoadLockListAtStartup(list);

    EXPECT_EQ(port.Requests(), (Requests{"open", "ping", "close", "open", "data access 1", "close",
                                         "open", "data access 0", "close"}));
    EXPECT_FALSE(startup.startEnsureDriverThread);
    EXPECT_EQ(startup.listBoxRows, (std::vector<std::wstring>{L"C:\\DATA", L"D:\\PHOTOS"}));
}

TEST_F(ProgramListFile, WithoutTheDriverAListWithEntriesAsksForTheDriverThread) {
    ASSERT_TRUE(SaveLockListFile(path, {u"C:\\DATA"}));
    port.opens = false;

    const LockListStartup startup = LoadLockListAtStartup(list);

    EXPECT_EQ(port.Requests(), Requests{"open refused"});
    EXPECT_TRUE(startup.startEnsureDriverThread);
    EXPECT_EQ(startup.listBoxRows, std::vector<std::wstring>{L"C:\\DATA"});
    EXPECT_EQ(list.Entries(), LockListEntries{u"C:\\DATA"});
}

TEST_F(ProgramListFile, WithoutTheDriverAnEmptyListStartsNoDriverThread) {
    port.opens = false;
    const LockListStartup startup = LoadLockListAtStartup(list);
    EXPECT_FALSE(startup.startEnsureDriverThread);
    EXPECT_TRUE(startup.listBoxRows.empty());
}

TEST_F(ProgramListFile, SavesAndLoadsThroughTheUsersDataFolder) {
    list.Append(u"C:\\DATA");
    OrderedLockListSaver saver;
    EXPECT_EQ(SaveLockList(saver, list.Snapshot()), SaveOutcome::kWritten);
    LockList loaded;
    LoadLockList(loaded);
    EXPECT_EQ(loaded.Entries(), LockListEntries{u"C:\\DATA"});
    EXPECT_TRUE(port.Requests().empty()) << "the caller opens the data folder, not the save";
}

}  // namespace
}  // namespace brambolt
