#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "brambolt/base/file_replace.h"
#include "brambolt/base/tests/faulty_file_operations.h"
#include "brambolt/base/tests/test_folder.h"
#include "brambolt/base/unique_handle.h"

namespace brambolt {
namespace {

using testing::FaultyFileOperations;
using testing::ReadFileBytes;
using testing::TestFolder;
using testing::WriteFileBytes;

const std::vector<std::uint8_t> kOldBytes = {'o', 'l', 'd', ' ', 'c', 'o', 'n', 't', 'e', 'n', 't'};
const std::vector<std::uint8_t> kNewBytes(3000, 0x5A);

// How many file calls a save that nothing interrupts makes.
int CallsOfACompleteSave(const std::wstring& target) {
    FaultyFileOperations counting(0, FaultyFileOperations::Mode::kFailOneCall);
    EXPECT_TRUE(ReplaceFileContents(target, kNewBytes, counting));
    return counting.calls();
}

TEST(FileReplace, WritesTheBytesAndLeavesNoTemporaryFile) {
    const TestFolder folder;
    const std::wstring target = folder.File(L"DATA.BIN");
    ASSERT_TRUE(WriteFileBytes(target, kOldBytes));

    ASSERT_TRUE(ReplaceFileContents(target, kNewBytes));
    EXPECT_EQ(ReadFileBytes(target), kNewBytes);
    EXPECT_EQ(folder.FileNames(), std::vector<std::wstring>{L"DATA.BIN"});
}

TEST(FileReplace, FailsWhileAnotherHandleHoldsTheFileAndKeepsItWhole) {
    const TestFolder folder;
    const std::wstring target = folder.File(L"DATA.BIN");
    ASSERT_TRUE(WriteFileBytes(target, kOldBytes));
    {
        const UniqueFile holder(::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder.valid());
        EXPECT_FALSE(ReplaceFileContents(target, kNewBytes));
        EXPECT_EQ(folder.FileNames(), std::vector<std::wstring>{L"DATA.BIN"});
    }
    EXPECT_EQ(ReadFileBytes(target), kOldBytes);
}

TEST(FileReplace, EveryFailingStepLeavesTheOldFileWholeAndNoTemporaryFile) {
    const TestFolder folder;
    const std::wstring target = folder.File(L"DATA.BIN");
    ASSERT_TRUE(WriteFileBytes(target, kOldBytes));
    const int steps = CallsOfACompleteSave(target);
    ASSERT_GE(steps, 6);  // probe open and close, open, write, flush, close, move

    for (int failing = 1; failing <= steps; ++failing) {
        ASSERT_TRUE(WriteFileBytes(target, kOldBytes));
        FaultyFileOperations faulty(failing, FaultyFileOperations::Mode::kFailOneCall);
        const bool saved = ReplaceFileContents(target, kNewBytes, faulty);
        EXPECT_FALSE(saved) << "failing call " << failing;
        EXPECT_EQ(ReadFileBytes(target), kOldBytes) << "failing call " << failing;
        EXPECT_EQ(folder.FileNames(), std::vector<std::wstring>{L"DATA.BIN"})
            << "failing call " << failing;
    }
}

TEST(FileReplace, ACrashAtAnyStepLeavesTheOldOrTheNewFileWhole) {
    for (const bool targetExisted : {true, false}) {
        const TestFolder folder;
        const std::wstring target = folder.File(L"DATA.BIN");
        ASSERT_TRUE(WriteFileBytes(target, kOldBytes));
        const int steps = CallsOfACompleteSave(target);

        for (int crash = 1; crash <= steps + 1; ++crash) {
            ::DeleteFileW(target.c_str());
            if (targetExisted) {
                ASSERT_TRUE(WriteFileBytes(target, kOldBytes));
            }
            {
                FaultyFileOperations crashing(crash, FaultyFileOperations::Mode::kCrash);
                ReplaceFileContents(target, kNewBytes, crashing);
            }
            const std::optional<std::vector<std::uint8_t>> found = ReadFileBytes(target);
            if (found && *found == kNewBytes) {
                continue;
            }
            if (targetExisted) {
                EXPECT_EQ(found, kOldBytes) << "crash at call " << crash;
            } else {
                EXPECT_FALSE(found.has_value()) << "crash at call " << crash;
            }
        }
        // A temporary file left by a crash does not stand in the way of the next save.
        ASSERT_TRUE(ReplaceFileContents(target, kNewBytes));
        EXPECT_EQ(folder.FileNames(), std::vector<std::wstring>{L"DATA.BIN"});
    }
}

TEST(FileReplace, RefusesATemporaryPathBeyondMaxPath) {
    const std::wstring target = L"C:\\" + std::wstring(MAX_PATH - 6, L'A');
    FaultyFileOperations counting(0, FaultyFileOperations::Mode::kFailOneCall);
    EXPECT_FALSE(ReplaceFileContents(target, kNewBytes, counting));
    EXPECT_EQ(counting.calls(), 0);
}

}  // namespace
}  // namespace brambolt
