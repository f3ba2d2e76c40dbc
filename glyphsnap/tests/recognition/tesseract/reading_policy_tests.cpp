#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/reading_policy.h"

namespace glyphsnap {
namespace {

struct LanguagesCase {
    const char* name;
    const char* languages;
    bool rightToLeft;
    const char* ideographic;
};

class ReadingLanguagesTest : public ::testing::TestWithParam<LanguagesCase> {};

TEST_P(ReadingLanguagesTest, DirectionAndChineseModel) {
    const LanguagesCase& c = GetParam();
    EXPECT_EQ(ReadsRightToLeft(c.languages), c.rightToLeft);
    EXPECT_EQ(IdeographicLanguageOf(c.languages), c.ideographic);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, ReadingLanguagesTest,
    ::testing::Values(LanguagesCase{"English", "eng", false, ""},
                      LanguagesCase{"ChineseFirst", "chi_sim+eng", false, "chi_sim"},
                      LanguagesCase{"TraditionalChinese", "chi_tra+eng", false, "chi_tra"},
                      LanguagesCase{"ChineseAlone", "chi_sim", false, ""},
                      LanguagesCase{"ChineseSecond", "eng+chi_sim", false, ""},
                      LanguagesCase{"ArabicSecond", "eng+ara", true, ""},
                      LanguagesCase{"HebrewAlone", "heb", true, ""},
                      LanguagesCase{"ArabicOnlyInAName", "arab+eng", false, ""}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

struct HalvingCase {
    const char* name;
    bool readNothing;
    int confidence;
    std::uint32_t width;
    std::uint32_t height;
    bool readAgain;
};

class HalvingTest : public ::testing::TestWithParam<HalvingCase> {};

TEST_P(HalvingTest, DoubtfulReadingsOfLargeEnoughPagesAreReadAtHalfSize) {
    const HalvingCase& c = GetParam();
    EXPECT_EQ(IsReadAgainHalved(c.readNothing, c.confidence, c.width, c.height), c.readAgain);
}

INSTANTIATE_TEST_SUITE_P(Readings, HalvingTest,
                         ::testing::Values(HalvingCase{"Doubtful", false, 59, 200, 100, true},
                                           HalvingCase{"Confident", false, 60, 200, 100, false},
                                           HalvingCase{"NothingRead", true, 0, 200, 100, false},
                                           HalvingCase{"HalfJustWideEnough", false, 45, 64, 64,
                                                       true},
                                           HalvingCase{"HalfTooNarrow", false, 45, 63, 200, false},
                                           HalvingCase{"HalfTooLow", false, 45, 200, 63, false}),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

struct EnlargementCase {
    const char* name;
    float lineHeight;
    std::uint32_t width;
    std::uint32_t height;
    float factor;
};

class EnlargementTest : public ::testing::TestWithParam<EnlargementCase> {};

TEST_P(EnlargementTest, SmallLinesGrowTowardsThirtyTwoPixels) {
    const EnlargementCase& c = GetParam();
    EXPECT_FLOAT_EQ(EnlargementFor(c.lineHeight, c.width, c.height), c.factor);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, EnlargementTest,
    ::testing::Values(EnlargementCase{"SixteenPixelLines", 16, 800, 600, 2},
                      EnlargementCase{"TinyLinesAtMostThreeTimes", 4, 800, 600, 3},
                      EnlargementCase{"TwentyPixelLinesByOnePointSix", 20, 800, 600, 1.6F},
                      EnlargementCase{"TwentyOnePixelLinesStay", 21, 800, 600, 1},
                      EnlargementCase{"PastTheLargestSideStays", 16, 5001, 600, 1},
                      EnlargementCase{"UpToTheLargestSide", 16, 5000, 600, 2}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(ReadingPolicy, MedianHeightOfTheLayoutLines) {
    EXPECT_EQ(MedianHeight({}), std::nullopt);
    EXPECT_EQ(MedianHeight({{0, 0, 10, 12}, {0, 20, 10, 50}, {0, 60, 10, 76}}), 16.0F);
    EXPECT_EQ(MedianHeight({{0, 5, 10, 5}}), 1.0F);  // a line of no height counts as one pixel
}

struct LineHeightCase {
    const char* name;
    std::vector<WordBox> layoutLines;
    std::optional<float> height;
};

class PageLineHeightTest : public ::testing::TestWithParam<LineHeightCase> {};

TEST_P(PageLineHeightTest, FramesTakenForLinesDoNotCount) {
    // The ink's own lines of the page: 14 pixels high.
    const std::vector<WordBox> inkLines{{20, 50, 300, 64}, {20, 80, 200, 94}, {20, 110, 90, 124}};
    EXPECT_EQ(PageLineHeight(GetParam().layoutLines, inkLines), GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PageLineHeightTest,
    ::testing::Values(LineHeightCase{"TextLinesAmongFrameEdges",
                                     {{26, 18, 535, 19},
                                      {26, 39, 535, 40},
                                      {26, 18, 27, 109},
                                      {30, 50, 300, 63},
                                      {30, 80, 200, 93},
                                      {534, 18, 536, 109},
                                      {61, 74, 385, 75},
                                      {61, 89, 385, 90},
                                      {61, 92, 385, 93}},
                                     13.0F},
                      LineHeightCase{"OnlyFrameEdgesGiveTheInksLines",
                                     {{26, 18, 535, 19}, {26, 18, 27, 109}, {61, 89, 385, 92}},
                                     14.0F},
                      LineHeightCase{"GroupBoxesAndButtonsGiveTheInksLines",
                                     {{10, 10, 540, 76}, {10, 90, 540, 156}, {250, 160, 390, 180}},
                                     14.0F},
                      LineHeightCase{"NoLayoutLinesGiveTheInksLines", {}, 14.0F},
                      LineHeightCase{"AOneGlyphLabelCounts", {{40, 30, 47, 42}}, 12.0F}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(ReadingPolicy, OnlyUnframedPagesOfEvenInkLinesAreMeasuredWithoutTheLayout) {
    const std::vector<WordBox> even{{10, 0, 300, 20}, {10, 30, 280, 50}, {10, 60, 200, 84}};
    EXPECT_FALSE(NeedsLayoutLines(even, false)) << "a page of text";
    EXPECT_TRUE(NeedsLayoutLines(even, true)) << "a dialog's frames";
    EXPECT_TRUE(NeedsLayoutLines({{10, 0, 300, 20}, {10, 30, 280, 50}, {10, 60, 300, 120}}, false))
        << "three lines set too tight, run together";
    EXPECT_TRUE(NeedsLayoutLines({}, false)) << "no ink to measure";
}

TEST(ReadingPolicy, StrokesDownNoLongerThanTheLinesAreStemsOfLargeText) {
    const std::vector<WordBox> largeLabel{{40, 40, 960, 119}};  // 79 rows high
    EXPECT_TRUE(AreStrokesDownText(66, largeLabel)) << "its stems";
    EXPECT_TRUE(AreStrokesDownText(98, largeLabel)) << "a stem a quarter longer still";
    EXPECT_FALSE(AreStrokesDownText(99, largeLabel)) << "a box around the label";
    const std::vector<WordBox> dialog{{10, 0, 300, 14}, {10, 30, 280, 44}, {10, 60, 200, 74}};
    EXPECT_FALSE(AreStrokesDownText(120, dialog)) << "a group box's side";
    EXPECT_FALSE(AreStrokesDownText(0, dialog)) << "no stroke left out";
    EXPECT_FALSE(AreStrokesDownText(60, {})) << "nothing but the stroke";
}

TEST(ReadingPolicy, TextLinesMeasuredWithoutFramesCountWhenFarShorter) {
    EXPECT_EQ(LineHeightWithoutFrames(21, 11), 11) << "a dialog's buttons made its lines";
    EXPECT_EQ(LineHeightWithoutFrames(16, 12), 16) << "a pixel or two moves with any frame";
    EXPECT_EQ(LineHeightWithoutFrames(12, 14), 12);
    EXPECT_EQ(LineHeightWithoutFrames(12, std::nullopt), 12) << "nothing left but frames";
}

TEST(ReadingPolicy, FramesAreAtLeastThreeLinesAcrossAndOneAndAThirdDown) {
    const FrameLineLengths lengths = FrameLineLengthsFor(30);
    EXPECT_EQ(lengths.across, 90U);
    EXPECT_EQ(lengths.down, 39U);
}

TEST(ReadingPolicy, ImagesOfSixLinesOrThreeLinesOfTextAreSplitOnSeveralCores) {
    // Rows 20 pixels apart, one piece each; a dialog's row holds a label and a field side by side.
    const auto rows = [](std::size_t count) {
        std::vector<WordBox> pieces;
        pieces.reserve(count);
        for (int i = 0; i < static_cast<int>(count); ++i) {
            pieces.push_back({10, 20 * i, 300, 20 * i + 14});
        }
        return pieces;
    };
    std::vector<WordBox> dialog = rows(3);
    dialog.push_back({320, 40, 400, 54});
    struct Case {
        const char* name;
        std::vector<WordBox> pieces;
        bool strokesAcross;
        unsigned cores;
        Split split;
    };
    const Case cases[] = {
        {"six lines", rows(6), false, 2, Split::AnyWhere},
        {"six lines with fields", rows(6), true, 2, Split::AnyWhere},
        {"three lines of text", rows(3), false, 2, Split::OutsideFrames},
        {"two lines", rows(2), false, 2, Split::None},
        {"three lines with a field's edge", rows(3), true, 2, Split::None},
        {"pieces side by side", dialog, false, 2, Split::None},
        {"one core", rows(40), false, 1, Split::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitFor(c.pieces, c.strokesAcross, c.cores), c.split) << c.name;
    }
}

TEST(ReadingPolicy, PiecesUpToOneAndAHalfTimesAsWideAsHighAreLoneGlyphs) {
    EXPECT_TRUE(IsLoneGlyph({100, 40, 114, 54}));  // an ideograph, or ">" in a table cell
    EXPECT_TRUE(IsLoneGlyph({0, 0, 21, 14}));
    EXPECT_FALSE(IsLoneGlyph({0, 0, 22, 14}));
    EXPECT_FALSE(IsLoneGlyph({0, 0, 60, 14}));  // a word
}

TEST(ReadingPolicy, WhichReadingWins) {
    EXPECT_FALSE(IsPageDoubtful(80));
    EXPECT_TRUE(IsPageDoubtful(79));
    EXPECT_TRUE(IsSparseReadingPreferred(76, 70));
    EXPECT_FALSE(IsSparseReadingPreferred(75, 70));
}

TEST(ReadingPolicy, AWholePageReadAgainReplacesOnlyTheLinesItReadsBetter) {
    // The first reading: a whole line of a paragraph, and a line of nonsense beside a picture.
    const std::vector<ReadLine> first{{{u"本程序为自由软件", 90, {0, 0, 200, 20}}},
                                      {{u"MBER", 30, {0, 30, 100, 50}}}};
    // The sparse reading breaks the paragraph's line into pieces, one of them read worse, reads
    // the second line well and finds a button the first passed over.
    const std::vector<ReadLine> again{{{u"本程序为", 95, {0, 0, 100, 20}}},
                                      {{u"自甸软件", 40, {100, 0, 200, 20}}},
                                      {{u"您可以", 92, {0, 30, 100, 50}}},
                                      {{u"OK", 90, {0, 80, 30, 100}}}};
    std::vector<std::u16string> texts;
    for (const ReadLine& line : WithLinesReadBetter(first, again)) {
        std::u16string text;
        for (const ReadWord& word : line) {
            text += word.text;
        }
        texts.push_back(text);
    }
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"本程序为自由软件", u"您可以", u"OK"}));
}

TEST(ReadingPolicy, DoubtfulLinesAndTheReadingThatReplacesThem) {
    // A mean of 70, with a checkbox read as a digit at the start.
    const ReadLine doubtful{{u"0", 20, {0, 0, 10, 10}},
                            {u"0K", 90, {20, 0, 40, 10}},
                            {u"Cance1", 100, {50, 0, 90, 10}}};
    EXPECT_TRUE(IsLineDoubtful(doubtful));
    EXPECT_FALSE(IsLineDoubtful({{u"OK", 80, {}}}));
    EXPECT_FALSE(IsLineDoubtful({}));
    const ReadLine better{{u"OK", 86, {21, 1, 39, 9}}, {u"Cancel", 86, {50, 0, 90, 10}}};
    EXPECT_TRUE(IsLineReadingBetter(better, doubtful));  // the mark needs no word
    EXPECT_FALSE(IsLineReadingBetter(
        {{u"OK", 75, {21, 1, 39, 9}}, {u"Cancel", 75, {50, 0, 90, 10}}}, doubtful));
    EXPECT_FALSE(IsLineReadingBetter({better[0]}, doubtful));  // passes over Cancel
    EXPECT_FALSE(IsLineReadingBetter({}, doubtful));
}

TEST(ReadingPolicy, APictureReadAsAMarkIsNotReadAgain) {
    // Lines of a page whose lines are 30 pixels high; every one doubtful but the last.
    struct Case {
        ReadLine line;
        bool readAgain;
    };
    const Case cases[] = {
        {{{u"¢", 30, {40, 120, 390, 211}}}, false},    // a logo, over three lines high
        {{{u"¢", 30, {40, 120, 390, 210}}}, true},     // three lines high: a box's text
        {{{u"|", 30, {40, 120, 44, 150}}}, true},      // a line's height: a glyph, read again
        {{{u"Wine", 30, {40, 120, 390, 640}}}, true},  // tall, but a word
        {{{u"¢", 85, {40, 120, 390, 640}}}, false},    // not doubtful
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsLineReadAgain(c.line, 30), c.readAgain) << c.line.front().box.bottom;
    }
}

TEST(ReadingPolicy, AWidgetIsADoubtfulLoneGlyph) {
    struct Case {
        ReadLine line;
        bool widget;
    };
    const Case cases[] = {
        {{{u"a", 43, {116, 111, 149, 159}}}, true},   // a slider's knob
        {{{u"X", 90, {470, 365, 481, 383}}}, false},  // sure: the X between two sizes
        {{{u"口", 43, {0, 0, 20, 20}}}, false},       // an ideograph
        {{{u"OK", 43, {0, 0, 20, 20}}}, false},       // two glyphs
        {{{u"a", 43, {0, 0, 9, 9}}, {u"b", 43, {12, 0, 21, 9}}}, false},  // with a neighbour
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsWidgetReadAsAGlyph(c.line), c.widget) << c.line.front().box.left;
    }
}

TEST(ReadingPolicy, SecondReadingsReadNoMoreThanThePage) {
    SecondReadingBudget budget(100, 50);
    EXPECT_TRUE(budget.Take(WordBox{0, 0, 100, 30}));  // 3 000 of 5 000 pixels
    EXPECT_FALSE(budget.Take(WordBox{0, 0, 100, 21}));
    EXPECT_TRUE(budget.Take(WordBox{10, 10, 110, 30}));
    EXPECT_FALSE(budget.Take(1));
    EXPECT_TRUE(budget.Take(WordBox{5, 5, 5, 9}));  // nothing to read
}

TEST(ReadingPolicy, DoubtedWordsAreUnsureAndHoldNoIdeograph) {
    EXPECT_TRUE(IsDoubtedWord({u"Fi1e", 89.9F, {}}));
    EXPECT_FALSE(IsDoubtedWord({u"File", 90, {}}));
    EXPECT_FALSE(IsDoubtedWord({u"文件", 30, {}}));
}

}  // namespace
}  // namespace glyphsnap
