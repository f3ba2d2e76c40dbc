#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "brambolt/base/tests/faulty_file_operations.h"
#include "brambolt/base/tests/test_folder.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/folders/lock_list_file.h"

namespace brambolt {
namespace {

using testing::FaultyFileOperations;
using testing::ReadFileBytes;
using testing::TestFolder;
using testing::WriteFileBytes;

constexpr wchar_t kListName[] = L"TARNLOCKLIST.INI";

const std::vector<std::uint8_t> kTwoEntryFile = {
    0xff, 0xfe, 0x43, 0x00, 0x3a, 0x00, 0x5c, 0x00, 0x44, 0x00, 0x41, 0x00, 0x54, 0x00,
    0x41, 0x00, 0x0d, 0x00, 0x0a, 0x00, 0x44, 0x00, 0x3a, 0x00, 0x5c, 0x00, 0x50, 0x00,
    0x48, 0x00, 0x4f, 0x00, 0x54, 0x00, 0x4f, 0x00, 0x53, 0x00, 0x0d, 0x00, 0x0a, 0x00,
};

UniqueFile HoldWithoutSharing(const std::wstring& path) {
    return UniqueFile(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST(LockListSave, WritesExactlyTheFortyTwoBytesOfTwoEntries) {
    const TestFolder folder;
    const std::wstring path = folder.File(kListName);
    ASSERT_TRUE(SaveLockListFile(path, {u"C:\\DATA", u"D:\\PHOTOS"}));
    EXPECT_EQ(ReadFileBytes(path), kTwoEntryFile);
    EXPECT_EQ(folder.FileNames(), std::vector<std::wstring>{kListName});
}

TEST(LockListSave, AnEmptyListDeletesTheFileAndAMissingFileIsFine) {
    const TestFolder folder;
    const std::wstring path = folder.File(kListName);
    ASSERT_TRUE(SaveLockListFile(path, {u"C:\\DATA"}));
    EXPECT_TRUE(SaveLockListFile(path, {}));
    EXPECT_FALSE(ReadFileBytes(path).has_value());
    EXPECT_TRUE(SaveLockListFile(path, {}));
    EXPECT_TRUE(folder.FileNames().empty());
}

TEST(LockListSave, ListsOfEmptyEntriesWriteNoFileOfTheMarkAlone) {
    const TestFolder folder;
    const std::wstring path = folder.File(kListName);
    ASSERT_TRUE(SaveLockListFile(path, {u"C:\\DATA"}));
    EXPECT_TRUE(SaveLockListFile(path, {u""}));
    EXPECT_FALSE(ReadFileBytes(path).has_value());
}

TEST(LockListSave, FailsWhileTheFileIsHeldAndTheOldFileStaysWhole) {
    const TestFolder folder;
    const std::wstring path = folder.File(kListName);
    ASSERT_TRUE(SaveLockListFile(path, {u"C:\\DATA", u"D:\\PHOTOS"}));
    {
        const UniqueFile holder = HoldWithoutSharing(path);
        ASSERT_TRUE(holder.valid());
        EXPECT_FALSE(SaveLockListFile(path, {u"E:\\OTHER"}));
    }
    EXPECT_EQ(ReadFileBytes(path), kTwoEntryFile);
    EXPECT_EQ(folder.FileNames(), std::vector<std::wstring>{kListName});
}

TEST(LockListLoad, ReadsBackWhatWasSavedInOrder) {
    const TestFolder folder;
    const std::wstring path = folder.File(kListName);
    const LockListEntries entries = {u"D:\\Z", u"C:\\DATA", u"E:\\照片", u"D:\\Z"};
    ASSERT_TRUE(SaveLockListFile(path, entries));
    LockList list;
    LoadLockListFile(path, list);
    EXPECT_EQ(list.Entries(), entries);
}

TEST(LockListLoad, AFileThatDoesNotOpenLeavesTheListAsItWas) {
    const TestFolder folder;
    const std::wstring path = folder.File(kListName);
    LockList list;
    list.Append(u"C:\\KEPT");
    LoadLockListFile(path, list);  // no file
    EXPECT_EQ(list.Entries(), LockListEntries{u"C:\\KEPT"});

    ASSERT_TRUE(WriteFileBytes(path, kTwoEntryFile));
    {
        const UniqueFile holder = HoldWithoutSharing(path);
        ASSERT_TRUE(holder.valid());
        LoadLockListFile(path, list);  // in use
    }
    EXPECT_EQ(list.Entries(), LockListEntries{u"C:\\KEPT"});
}

TEST(LockListLoad, AFileThatOpensReplacesTheListEvenWhenItHoldsNoEntries) {
    const TestFolder folder;
    const std::wstring path = folder.File(kListName);
    const std::vector<std::vector<std::uint8_t>> files = {
        {}, {0xFF}, {0xFF, 0xFE}, {'C', ':', '\\', 'A', '\r', '\n'}, {0x43, 0x00, 0x0D, 0x00}};
    for (const std::vector<std::uint8_t>& file : files) {
        ASSERT_TRUE(WriteFileBytes(path, file));
        LockList list;
        list.Append(u"C:\\OLD");
        LoadLockListFile(path, list);
        EXPECT_EQ(list.Count(), 0U) << file.size() << " bytes";
    }
}

TEST(LockListLoad, OpensTheFileWithoutSharing) {
    // A holder that shares everything still refuses an opener that shares nothing.
    const TestFolder folder;
    const std::wstring path = folder.File(kListName);
    ASSERT_TRUE(WriteFileBytes(path, kTwoEntryFile));
    const UniqueFile sharingHolder(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(sharingHolder.valid());
    LockList list;
    list.Append(u"C:\\KEPT");
    LoadLockListFile(path, list);
    EXPECT_EQ(list.Entries(), LockListEntries{u"C:\\KEPT"});
}

TEST(OrderedLockListSave, AnOlderSnapshotAfterANewerOneIsDropped) {
    const TestFolder folder;
    const std::wstring path = folder.File(kListName);
    LockList list;
    list.Append(u"C:\\FIRST");
    const LockListSnapshot first = list.Snapshot();
    list.Append(u"C:\\SECOND");
    const LockListSnapshot second = list.Snapshot();

    OrderedLockListSaver saver;
    EXPECT_EQ(saver.Save(path, second), SaveOutcome::kWritten);
    EXPECT_EQ(saver.Save(path, first), SaveOutcome::kStale);
    LockList loaded;
    LoadLockListFile(path, loaded);
    EXPECT_EQ(loaded.Entries(), (LockListEntries{u"C:\\FIRST", u"C:\\SECOND"}));

    list.RemoveAt(0);
    list.RemoveAt(0);
    EXPECT_EQ(saver.Save(path, list.Snapshot()), SaveOutcome::kWritten);
    EXPECT_FALSE(ReadFileBytes(path).has_value());
}

TEST(OrderedLockListSave, AFailedSaveDoesNotHideTheNextOne) {
    const TestFolder folder;
    const std::wstring path = folder.File(kListName);
    LockList list;
    list.Append(u"C:\\A");
    OrderedLockListSaver saver;
    ASSERT_EQ(saver.Save(path, list.Snapshot()), SaveOutcome::kWritten);
    list.Append(u"C:\\B");
    {
        const UniqueFile holder = HoldWithoutSharing(path);
        EXPECT_EQ(saver.Save(path, list.Snapshot()), SaveOutcome::kFailed);
    }
    EXPECT_EQ(saver.Save(path, list.Snapshot()), SaveOutcome::kWritten);
    LockList loaded;
    LoadLockListFile(path, loaded);
    EXPECT_EQ(loaded.Count(), 2U);
}

TEST(LockListFile, ALockListSaveCutShortKeepsTheOldListOrWritesTheNewOne) {
    const TestFolder folder;
    const std::wstring target = folder.File(L"TARNLOCKLIST.INI");
    const LockListEntries oldList = {u"C:\\OLD"};
    const LockListEntries newList = {u"C:\\NEW", u"D:\\MORE"};
    for (int crash = 1; crash <= 8; ++crash) {
        ASSERT_TRUE(SaveLockListFile(target, oldList));
        {
            FaultyFileOperations crashing(crash, FaultyFileOperations::Mode::kCrash);
            SaveLockListFile(target, newList, crashing);
        }
        LockList loaded;
        LoadLockListFile(target, loaded);
        EXPECT_TRUE(loaded.Entries() == oldList || loaded.Entries() == newList)
            << "crash at call " << crash;
    }
}

}  // namespace
}  // namespace brambolt
