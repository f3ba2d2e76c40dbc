#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "brambolt/folders/lock_list_codec.h"

namespace brambolt {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The file for these code units: the mark, then each unit little-endian.
Bytes FileOf(const std::u16string& units) {
    Bytes bytes{0xFF, 0xFE};
    for (char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

const Bytes kTwoEntryFile = {
    0xff, 0xfe, 0x43, 0x00, 0x3a, 0x00, 0x5c, 0x00, 0x44, 0x00, 0x41, 0x00, 0x54, 0x00,
    0x41, 0x00, 0x0d, 0x00, 0x0a, 0x00, 0x44, 0x00, 0x3a, 0x00, 0x5c, 0x00, 0x50, 0x00,
    0x48, 0x00, 0x4f, 0x00, 0x54, 0x00, 0x4f, 0x00, 0x53, 0x00, 0x0d, 0x00, 0x0a, 0x00,
};

TEST(LockListEncoding, TwoEntriesGiveTheFortyTwoKnownBytes) {
    const Bytes bytes = EncodeLockList({u"C:\\DATA", u"D:\\PHOTOS"});
    ASSERT_EQ(bytes.size(), 42U);
    EXPECT_EQ(bytes, kTwoEntryFile);
}

TEST(LockListEncoding, EveryEntryEndsWithCrLfAndEmptyEntriesAreLeftOut) {
    EXPECT_EQ(EncodeLockList({u"A", u"", u"B"}), FileOf(u"A\r\nB\r\n"));
    EXPECT_EQ(EncodeLockList({}), FileOf(u""));
}

TEST(LockListEncoding, UnitsAboveAsciiAreWrittenLittleEndian) {
    EXPECT_EQ(EncodeLockList({u"D:\\照片"}),
              (Bytes{0xFF, 0xFE, 0x44, 0x00, 0x3A, 0x00, 0x5C, 0x00, 0x67, 0x71, 0x47, 0x72, 0x0D,
                     0x00, 0x0A, 0x00}));
}

TEST(LockListDecoding, TheFortyTwoBytesGiveTheTwoEntries) {
    EXPECT_EQ(DecodeLockList(kTwoEntryFile), (LockListEntries{u"C:\\DATA", u"D:\\PHOTOS"}));
}

TEST(LockListDecoding, FilesWithoutEntriesOrMarkGiveAnEmptyList) {
    struct Case {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"empty file", {}},
        {"one byte", {0xFF}},
        {"mark alone", {0xFF, 0xFE}},
        {"mark and an odd byte", {0xFF, 0xFE, 0x41}},
        {"big-endian mark", {0xFE, 0xFF, 0x00, 0x41, 0x00, 0x0D, 0x00, 0x0A}},
        {"no mark, UTF-16 paths", {0x43, 0x00, 0x3A, 0x00, 0x5C, 0x00, 0x0D, 0x00, 0x0A, 0x00}},
        {"ANSI text", {'C', ':', '\\', 'D', 'A', 'T', 'A', '\r', '\n'}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(DecodeLockList(c.file).empty()) << c.name;
    }
}

TEST(LockListDecoding, AnOddLengthLosesOnlyItsLastByte) {
    Bytes file = FileOf(u"C:\\A\r\nC:\\B");
    file.push_back(0x43);
    EXPECT_EQ(DecodeLockList(file), (LockListEntries{u"C:\\A", u"C:\\B"}));
}

TEST(LockListDecoding, CrAloneLfAloneAndCrLfEachEndALine) {
    EXPECT_EQ(DecodeLockList(FileOf(u"A\rB\nC\r\nD")), (LockListEntries{u"A", u"B", u"C", u"D"}));
    EXPECT_EQ(DecodeLockList(FileOf(u"A\n\rB")), (LockListEntries{u"A", u"B"}));
}

TEST(LockListDecoding, BlankAndWhiteSpaceLinesAreSkippedAndEntriesTrimmed) {
    EXPECT_EQ(DecodeLockList(FileOf(u"\r\n\r\n  C:\\A \t\r\n   \r\n\t\r\n\u3000C:\\B\u00A0\r\n\n")),
              (LockListEntries{u"C:\\A", u"C:\\B"}));
    EXPECT_EQ(DecodeLockList(FileOf(u"  C:\\MY DATA  ")), (LockListEntries{u"C:\\MY DATA"}));
}

TEST(LockListDecoding, CharactersThatWindowsDoesNotCountAsSpaceStay) {
    EXPECT_EQ(DecodeLockList(FileOf(u"\u0085C:\\A\u200B")),
              (LockListEntries{u"\u0085C:\\A\u200B"}));
}

TEST(LockListDecoding, ANulEndsALineAndTheUnitAfterItStartsTheNext) {
    EXPECT_EQ(DecodeLockList(FileOf(std::u16string(u"A\0B\r\n", 5))),
              (LockListEntries{u"A", u"B"}));
}

TEST(LockListDecoding, ANulAtTheStartOfALineEndsTheReading) {
    EXPECT_EQ(DecodeLockList(FileOf(std::u16string(u"A\r\n\0B\r\n", 7))), (LockListEntries{u"A"}));
    EXPECT_TRUE(DecodeLockList(FileOf(std::u16string(u"\0A\r\n", 4))).empty());
    EXPECT_EQ(DecodeLockList(FileOf(std::u16string(u"A\0\0B", 4))), (LockListEntries{u"A"}));
}

TEST(LockListDecoding, ALineOfSpaceBeforeANulDoesNotEndTheReading) {
    EXPECT_EQ(DecodeLockList(FileOf(std::u16string(u"  \0B", 4))), (LockListEntries{u"B"}));
}

TEST(LockListDecoding, TwelveLinesGiveTwelveEntriesInFileOrder) {
    LockListEntries expected;
    std::u16string text;
    for (int i = 0; i < 12; ++i) {
        std::u16string entry = u"C:\\FOLDER";
        entry += static_cast<char16_t>(u'A' + i);
        text += entry + u"\r\n";
        expected.push_back(entry);
    }
    EXPECT_EQ(DecodeLockList(FileOf(text)), expected);
}

TEST(LockListDecoding, DuplicatesAndLetterCaseAreKept) {
    EXPECT_EQ(DecodeLockList(FileOf(u"C:\\A\r\nc:\\a\r\nC:\\A\r\n")),
              (LockListEntries{u"C:\\A", u"c:\\a", u"C:\\A"}));
}

TEST(LockListRoundTrip, SavedEntriesReadBackInTheSameOrder) {
    const LockListEntries entries = {u"D:\\Z", u"C:\\DATA", u"E:\\照片\\2023", u"D:\\Z",
                                     u"\\\\SERVER\\SHARE\\X"};
    EXPECT_EQ(DecodeLockList(EncodeLockList(entries)), entries);
}

}  // namespace
}  // namespace brambolt
