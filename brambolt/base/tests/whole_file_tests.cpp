#include <gtest/gtest.h>

#include <windows.h>

#include "brambolt/base/tests/test_folder.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/base/whole_file.h"

namespace brambolt {
namespace {

using testing::TestFolder;
using testing::WriteFileBytes;
using Bytes = std::vector<std::uint8_t>;

TEST(ReadWholeFile, GivesTheBytesOfAFileUpToTheLimit) {
    const TestFolder folder;
    const std::wstring path = folder.File(L"file");
    const Bytes content = {0xFF, 0xFE, 0x41, 0x00, 0x0D, 0x00};
    ASSERT_TRUE(WriteFileBytes(path, content));

    EXPECT_EQ(ReadWholeFile(path, 6), content);
    EXPECT_EQ(ReadWholeFile(path, 5), Bytes{}) << "one byte over the limit reads as no content";
    ASSERT_TRUE(WriteFileBytes(path, {}));
    EXPECT_EQ(ReadWholeFile(path, 6), Bytes{});
}

TEST(ReadWholeFile, AFileThatDoesNotOpenIsNotThere) {
    const TestFolder folder;
    EXPECT_EQ(ReadWholeFile(folder.File(L"missing"), 100), std::nullopt);

    const std::wstring path = folder.File(L"held");
    ASSERT_TRUE(WriteFileBytes(path, {1, 2, 3}));
    const UniqueFile holder(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    EXPECT_EQ(ReadWholeFile(path, 100), std::nullopt) << "no sharing: a held file stays unread";
}

}  // namespace
}  // namespace brambolt
