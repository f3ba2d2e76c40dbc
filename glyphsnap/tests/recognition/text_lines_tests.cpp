#include <gtest/gtest.h>

#include "glyphsnap/recognition/text_lines.h"

namespace glyphsnap {
namespace {

struct JoinCase {
    const char* name;
    std::vector<OcrLine> lines;
    std::u16string expected;
};

class AssembleOcrTextTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(AssembleOcrTextTest, JoinsWordsAndEndsLines) {
    EXPECT_EQ(AssembleOcrText(GetParam().lines), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    JoinRule, AssembleOcrTextTest,
    ::testing::Values(JoinCase{"LettersGetASpace", {{{u"Hello", u"World"}}}, u"Hello World\r\n"},
                      JoinCase{"PunctuationBeforeLetter", {{{u"3.5", u"kg"}}}, u"3.5 kg\r\n"},
                      JoinCase{"ClosingBracketBeforeLetter", {{{u"(a)", u"b"}}}, u"(a) b\r\n"},
                      JoinCase{"DigitAfterLetterJoined", {{{u"a", u"1"}}}, u"a1\r\n"},
                      JoinCase{"ChineseThenLatinJoined", {{{u"你好", u"World"}}}, u"你好World\r\n"},
                      JoinCase{"LatinThenChineseJoined", {{{u"Hello", u"世界"}}}, u"Hello世界\r\n"},
                      JoinCase{"PunctuationStartJoined", {{{u"end", u"."}}}, u"end.\r\n"},
                      JoinCase{"TildeIsPrintable", {{{u"~", u"z"}}}, u"~ z\r\n"},
                      JoinCase{"NonBreakingEndJoined", {{{u"a\u00A0", u"b"}}}, u"a\u00A0b\r\n"},
                      JoinCase{"EmptyWordsGetNoSpace", {{{u"a", u"", u"b"}}}, u"ab\r\n"},
                      JoinCase{"TwoLines", {{{u"A"}}, {{u"B"}}}, u"A\r\nB\r\n"},
                      JoinCase{"LineWithoutWords", {{{u"A"}}, {}, {{u"B"}}}, u"A\r\n\r\nB\r\n"},
                      JoinCase{"NoLines", {}, u""}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

}  // namespace
}  // namespace glyphsnap
