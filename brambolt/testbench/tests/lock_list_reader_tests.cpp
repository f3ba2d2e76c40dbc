#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "brambolt/testbench/lock_list_reader.h"

namespace brambolt::testbench {
namespace {

std::vector<std::uint8_t> FileOf(std::u16string_view units, bool mark = true) {
    std::vector<std::uint8_t> bytes;
    if (mark) {
        bytes = {0xFF, 0xFE};
    }
    for (char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

TEST(StandInLockListReader, ReadsTheFortyTwoByteExample) {
    const std::vector<std::uint8_t> bytes = {
        0xff, 0xfe, 0x43, 0x00, 0x3a, 0x00, 0x5c, 0x00, 0x44, 0x00, 0x41, 0x00, 0x54, 0x00,
        0x41, 0x00, 0x0d, 0x00, 0x0a, 0x00, 0x44, 0x00, 0x3a, 0x00, 0x5c, 0x00, 0x50, 0x00,
        0x48, 0x00, 0x4f, 0x00, 0x54, 0x00, 0x4f, 0x00, 0x53, 0x00, 0x0d, 0x00, 0x0a, 0x00};
    ASSERT_EQ(bytes.size(), 42U);
    const auto entries = ParseLockListFile(bytes);
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(*entries, (std::vector<std::u16string>{u"C:\\DATA", u"D:\\PHOTOS"}));
}

TEST(StandInLockListReader, KeepsNonAsciiPathsAsTheyStand) {
    const auto entries = ParseLockListFile(FileOf(u"D:\\\u7167\u7247\r\n"));
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(*entries, (std::vector<std::u16string>{u"D:\\\u7167\u7247"}));
}

TEST(StandInLockListReader, MarkAloneIsAnEmptyList) {
    const auto entries = ParseLockListFile(FileOf(u""));
    ASSERT_TRUE(entries.has_value());
    EXPECT_TRUE(entries->empty());
}

TEST(StandInLockListReader, RefusesWhatTheWriterNeverWrites) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::uint8_t> oddLength = FileOf(u"C:\\A\r\n");
    oddLength.push_back(0x41);
    const Case cases[] = {
        {"no mark", FileOf(u"C:\\A\r\n", false)},
        {"empty file", {}},
        {"one byte", {0xFF}},
        {"big-endian mark", {0xFE, 0xFF, 0x00, 0x41, 0x00, 0x0D, 0x00, 0x0A}},
        {"odd length", oddLength},
        {"last entry without line end", FileOf(u"C:\\A\r\nC:\\B")},
        {"LF alone", FileOf(u"C:\\A\nC:\\B\r\n")},
        {"CR alone", FileOf(u"C:\\A\rC:\\B\r\n")},
        {"empty line", FileOf(u"C:\\A\r\n\r\n")},
        {"NUL inside", FileOf(std::u16string(u"C:\\A\0B\r\n", 8))},
        {"trailing CR", FileOf(u"C:\\A\r")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseLockListFile(c.bytes), std::nullopt) << c.what;
    }
}

}  // namespace
}  // namespace brambolt::testbench
