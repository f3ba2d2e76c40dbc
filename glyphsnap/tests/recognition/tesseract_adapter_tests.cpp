// What the Tesseract adapter hands the engine and takes from it.
#include <gtest/gtest.h>

#include "recognition_tesseract_planes.h"
#include "utf.h"

namespace glyphsnap {
namespace {

TEST(GreyPlane, TakesOneChannelOfEachPixel) {
    const BgraBitmap bitmap{3, 1, {10, 10, 10, 255, 200, 200, 200, 0, 7, 7, 7, 128}};
    const GreyPlane plane = GreyPlaneOf(bitmap);
    EXPECT_EQ(plane.width, 3u);
    EXPECT_EQ(plane.height, 1u);
    EXPECT_EQ(plane.levels, (std::vector<std::uint8_t>{10, 200, 7}));
}

TEST(GreyPlane, HalvingAveragesBlocksAndDropsAnOddEdge) {
    // 5 x 3: the last column and row have no partner and are dropped.
    const GreyPlane plane{5,
                          3,
                          {0, 255, 10, 20, 99,  //
                           255, 0, 30, 41, 99,  //
                           99, 99, 99, 99, 99}};
    const GreyPlane half = HalvedPlane(plane);
    EXPECT_EQ(half.width, 2u);
    EXPECT_EQ(half.height, 1u);
    EXPECT_EQ(half.levels, (std::vector<std::uint8_t>{128, 25}));  // 127.5 and 25.25 rounded
}

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::u16string expected;
};

class Utf16FromUtf8Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf16FromUtf8Test, Converts) {
    EXPECT_EQ(Utf16FromUtf8(GetParam().utf8), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf16FromUtf8Test,
    ::testing::Values(Utf8Case{"Ascii", "Hello", u"Hello"},
                      Utf8Case{"Chinese", "\xE6\x96\x87\xE5\xAD\x97", u"文字"},
                      Utf8Case{"TwoBytes", "\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},
                      Utf8Case{"AstralBecomesSurrogatePair", "\xF0\x9F\x98\x80", u"\U0001F600"},
                      Utf8Case{"LoneContinuation", "a\x80z", u"a\uFFFDz"},
                      Utf8Case{"CutShort", "x\xE6\x96", u"x\uFFFD\uFFFD"},
                      Utf8Case{"Overlong", "\xC0\xAF", u"\uFFFD\uFFFD"},
                      Utf8Case{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
                      Utf8Case{"BeyondUnicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                      Utf8Case{"LeadThenAscii", "\xE6z", u"\uFFFDz"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

}  // namespace
}  // namespace glyphsnap
