// What the Tesseract adapter hands the engine and takes from it.
#include <gtest/gtest.h>

#include "glyphsnap/recognition/tesseract/layout/access_keys.h"
#include "glyphsnap/recognition/tesseract/layout/filled_fields.h"
#include "glyphsnap/recognition/tesseract/layout/ink_lines.h"
#include "glyphsnap/recognition/tesseract/layout/missed_pieces.h"
#include "glyphsnap/recognition/tesseract/layout/planes.h"
#include "glyphsnap/recognition/tesseract/layout/words.h"
#include "glyphsnap/tests/recognition/tesseract/drawn_plane.h"
#include "glyphsnap/text/utf.h"

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

TEST(GreyPlane, EnlargingInterpolatesBetweenPixelCentres) {
    const GreyPlane plane{2, 1, {0, 200}};
    const GreyPlane large = EnlargedPlane(plane, 2);
    EXPECT_EQ(large.width, 4u);
    EXPECT_EQ(large.height, 2u);
    EXPECT_EQ(large.levels, (std::vector<std::uint8_t>{0, 50, 150, 200, 0, 50, 150, 200}));
}

TEST(GreyPlane, TheCommonestLevelCountsEveryPixelOfTheRectangleAndTheLowerLevelWinsATie) {
    const GreyPlane plane{7, 3, {9, 9, 9, 9, 9, 9, 5,  //
                                 9, 9, 9, 9, 5, 5, 5,  //
                                 1, 1, 1, 1, 1, 1, 1}};
    EXPECT_EQ(CommonestLevel(plane), 9);
    EXPECT_EQ(CommonestLevelIn(plane, 4, 0, 7, 2), 5) << "four 5s and two 9s in the last columns";
    EXPECT_EQ(CommonestLevelIn(plane, 5, 1, 7, 3), 1) << "two 5s and two 1s";
    EXPECT_EQ(CommonestLevelIn(plane, 0, 1, 7, 3), 1) << "seven 1s, four 9s and three 5s";
}

TEST(GreyPlane, FrameLinesGoAndTextAndFilledAreasStay) {
    // 14 x 14 on white: a one-pixel frame on two sides, a 2 x 2 dot of text and a filled
    // 10 x 6 block (a selected row).
    constexpr std::uint32_t kSide = 14;
    GreyPlane plane{kSide, kSide, std::vector<std::uint8_t>(std::size_t{kSide} * kSide, 255)};
    const auto set = [&](std::uint32_t x, std::uint32_t y) { plane.levels[y * kSide + x] = 0; };
    for (std::uint32_t i = 0; i < kSide; ++i) {
        set(i, 0);
        set(0, i);
    }
    set(6, 4), set(7, 4), set(6, 5), set(7, 5);
    for (std::uint32_t y = 8; y < kSide; ++y) {
        for (std::uint32_t x = 4; x < kSide; ++x) {
            set(x, y);
        }
    }
    const GreyPlane before = plane;
    EXPECT_TRUE(RemoveFrameLines(plane, 10, 10));
    for (std::uint32_t y = 0; y < kSide; ++y) {
        for (std::uint32_t x = 0; x < kSide; ++x) {
            // Where the two strokes cross, neither is thin: that one pixel stays.
            const bool frame = (x == 0) != (y == 0);
            EXPECT_EQ(plane.levels[y * kSide + x], frame ? 255 : before.levels[y * kSide + x])
                << x << "," << y;
        }
    }
    EXPECT_FALSE(RemoveFrameLines(plane, 10, 10));  // nothing left to take out
}

TEST(GreyPlane, CellBordersGoWhereTheyCrossAndRunSideBySide) {
    // 40 x 30 on white, as a browser draws border="1": two cells' 1-pixel grey borders side by
    // side, across two pixels apart (rows 12 and 15) and down three (columns 10 and 14), crossing
    // each other; a 3-D edge of two lines (rows 20 and 21, levels 200 and 120); a dotted line
    // (row 7, from column 18); a 6-pixel-thick filled bar.
    constexpr std::uint32_t kWidth = 40;
    constexpr std::uint32_t kHeight = 30;
    GreyPlane plane{kWidth, kHeight, std::vector<std::uint8_t>(std::size_t{kWidth} * kHeight, 255)};
    const auto set = [&](std::uint32_t x, std::uint32_t y, std::uint8_t level) {
        plane.levels[y * kWidth + x] = level;
    };
    for (std::uint32_t y = 0; y < kHeight; ++y) {
        set(10, y, 136), set(14, y, 136);
    }
    for (std::uint32_t x = 0; x < kWidth; ++x) {
        set(x, 12, 136), set(x, 15, 136), set(x, 20, 200), set(x, 21, 120);
        if (x % 2 == 0 && x >= 18) {
            set(x, 7, 0);
        }
    }
    for (std::uint32_t y = 24; y < kHeight; ++y) {
        for (std::uint32_t x = 20; x < 26; ++x) {
            set(x, y, 0);
        }
    }
    EXPECT_TRUE(RemoveFrameLines(plane, 20, 20));
    for (std::uint32_t y = 0; y < kHeight; ++y) {
        for (std::uint32_t x = 0; x < kWidth; ++x) {
            const bool bar = y >= 24 && x >= 20 && x < 26;
            EXPECT_EQ(plane.levels[y * kWidth + x], bar ? 0 : 255) << x << "," << y;
        }
    }
}

TEST(GreyPlane, TheStubOfAGroupBoxsTopLeftOfItsTitleGoesWithTheBox) {
    // 60 x 50 on a dialog's grey: a group box's side down column 2 from row 7, its rounded
    // corner at (3, 6) and (4, 5), its top along row 4 from column 5 to a title (strokes of text
    // in columns 12 to 29, rows 1 to 9) and on from column 32. Below it the same shape without a
    // top going on right of its "text": a tree view's connector, whose stub stays.
    GreyPlane plane{60, 50, std::vector<std::uint8_t>(std::size_t{60} * 50, 240)};
    const auto set = [&](std::uint32_t x, std::uint32_t y) { plane.levels[y * 60 + x] = 100; };
    for (const std::uint32_t top : {0U, 25U}) {
        for (std::uint32_t y = top + 7; y < top + 25; ++y) {
            set(2, y);
        }
        set(3, top + 6), set(4, top + 5);
        for (std::uint32_t x = 5; x < 10; ++x) {
            set(x, top + 4);
        }
        for (std::uint32_t y = top + 1; y < top + 10; ++y) {
            for (std::uint32_t x = 12; x < 30; x += 3) {
                set(x, y);
            }
        }
    }
    for (std::uint32_t x = 32; x < 60; ++x) {
        set(x, 4);
    }
    EXPECT_TRUE(RemoveFrameLines(plane, 12, 12));
    const auto at = [&](std::uint32_t x, std::uint32_t y) { return plane.levels[y * 60 + x]; };
    EXPECT_EQ(at(8, 4), 240) << "the stub";
    EXPECT_EQ(at(4, 5), 240) << "the corner";
    EXPECT_EQ(at(12, 4), 100) << "the title";
    EXPECT_EQ(at(8, 29), 100) << "the connector's stub";
}

TEST(GreyPlane, AButtonShorterThanAFrameLosesItsSidesAndAnInputBoxWithACaretKeepsThem) {
    // 120 x 50 on white, frames of 158 grey 24 rows high, shorter than a frame down (30): a button
    // from column 10 to 60 with its corner pixels left out, as a rounded corner is drawn, and a
    // glyph's stroke down inside it; an input box from column 70 to 115 with square corners and
    // its caret one pixel right of its left side.
    test::DrawnPlane drawn(120, 50, 255);
    drawn.Fill({11, 10, 60, 11}, 158).Fill({11, 33, 60, 34}, 158);  // top and bottom
    drawn.Fill({10, 11, 11, 33}, 158).Fill({60, 11, 61, 33}, 158);  // sides
    drawn.Fill({30, 16, 31, 28}, 0);                                // the glyph's stroke
    drawn.Fill({70, 10, 116, 11}, 158).Fill({70, 33, 116, 34}, 158);
    drawn.Fill({70, 10, 71, 34}, 158).Fill({115, 10, 116, 34}, 158);
    drawn.Fill({72, 13, 73, 30}, 0);  // the caret
    EXPECT_TRUE(RemoveFrameLines(drawn.Plane(), 40, 30));
    EXPECT_EQ(drawn.At(10, 20), 255) << "the button's left side";
    EXPECT_EQ(drawn.At(60, 20), 255) << "its right side";
    EXPECT_EQ(drawn.At(30, 20), 0) << "the glyph";
    EXPECT_EQ(drawn.At(70, 20), 158) << "the input box's left side";
    EXPECT_EQ(drawn.At(115, 20), 158) << "its right side";
    EXPECT_EQ(drawn.At(72, 20), 0) << "the caret";
}

TEST(GreyPlane, LightTextOnADarkFieldBecomesDarkTextOnThePage) {
    // A light page (240) holding a selected entry, 30 x 12 of blue (grey 110) with a white
    // stroke of text across it, and an icon of the same size but square, 12 x 12.
    GreyPlane plane{60, 16, std::vector<std::uint8_t>(std::size_t{60} * 16, 240)};
    const auto fill = [&](std::uint32_t left, std::uint32_t top, std::uint32_t right,
                          std::uint32_t bottom, std::uint8_t level) {
        for (std::uint32_t y = top; y < bottom; ++y) {
            for (std::uint32_t x = left; x < right; ++x) {
                plane.levels[y * plane.width + x] = level;
            }
        }
    };
    fill(2, 2, 32, 14, 110);
    fill(6, 7, 28, 9, 255);
    fill(40, 2, 52, 14, 110);
    fill(44, 7, 48, 9, 255);
    EXPECT_TRUE(LightenFilledFields(plane));
    const auto at = [&](std::uint32_t x, std::uint32_t y) { return plane.levels[y * 60 + x]; };
    EXPECT_EQ(at(3, 3), 240);   // the field's fill is the page's level
    EXPECT_EQ(at(10, 8), 0);    // its text is black
    EXPECT_EQ(at(0, 0), 240);   // the page stays
    EXPECT_EQ(at(41, 3), 110);  // the square icon stays as it was
    EXPECT_EQ(at(45, 8), 255);
}

TEST(InkLines, RowsOfInkCutAtWideGapsWithoutFramesAndRules) {
    // 60 x 40 on white: a frame's edge down the whole left side, two words in the first row
    // (the gap between them narrower than twice the row's height), a word far to the right in
    // the second row, and a two-row rule below.
    GreyPlane plane{60, 40, std::vector<std::uint8_t>(std::size_t{60} * 40, 250)};
    const auto fill = [&](std::uint32_t left, std::uint32_t top, std::uint32_t right,
                          std::uint32_t bottom) {
        for (std::uint32_t y = top; y < bottom; ++y) {
            for (std::uint32_t x = left; x < right; ++x) {
                plane.levels[y * 60 + x] = 20;
            }
        }
    };
    fill(0, 0, 1, 40);
    fill(4, 2, 10, 8), fill(15, 3, 20, 9);
    fill(4, 14, 8, 20), fill(40, 15, 50, 21);
    fill(4, 30, 56, 32);
    const std::vector<WordBox> lines = InkLinesOf(plane, 30);
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ((std::vector<int>{lines[0].left, lines[0].top, lines[0].right, lines[0].bottom}),
              (std::vector<int>{4, 2, 20, 9}));
    EXPECT_EQ((std::vector<int>{lines[1].left, lines[1].top, lines[1].right, lines[1].bottom}),
              (std::vector<int>{4, 14, 8, 20}));
    EXPECT_EQ((std::vector<int>{lines[2].left, lines[2].top, lines[2].right, lines[2].bottom}),
              (std::vector<int>{40, 15, 50, 21}));
    // Allowed strokes as long as the frame, its edge joins every row into one piece.
    EXPECT_EQ(InkLinesOf(plane, 41).size(), 1U);
}

TEST(InkLines, FramesCrossRowsAndFieldsHoldStrokesAcross) {
    // 80 x 50 on white: a box's left side from row 5 to row 44, a word, and an input box's top
    // edge 40 pixels long in a second piece.
    GreyPlane plane{80, 50, std::vector<std::uint8_t>(std::size_t{80} * 50, 250)};
    for (std::uint32_t y = 5; y < 45; ++y) {
        plane.levels[y * 80 + 2] = 20;
    }
    for (std::uint32_t x = 10; x < 30; x += 2) {
        plane.levels[10 * 80 + x] = 20;  // a word's dotted stroke: no run
    }
    for (std::uint32_t x = 30; x < 70; ++x) {
        plane.levels[30 * 80 + x] = 20;
    }
    StrokesDown strokes;
    InkLinesOf(plane, 30, &strokes);
    const std::vector<std::uint8_t>& rows = strokes.framedRows;
    EXPECT_EQ(std::count(rows.begin(), rows.end(), 1), 40);
    EXPECT_EQ(rows[4], 0);
    EXPECT_EQ(rows[5], 1);
    EXPECT_EQ(strokes.longest, 40U);
    EXPECT_FALSE(HoldsStrokeAcross(plane, {{10, 8, 30, 12}}, 30));
    EXPECT_TRUE(HoldsStrokeAcross(plane, {{10, 8, 30, 12}, {28, 28, 72, 32}}, 30));
    EXPECT_FALSE(HoldsStrokeAcross(plane, {{28, 28, 72, 32}}, 40));
}

TEST(InkLines, EdgesOfBoxesWithRoundedCornersAreNotText) {
    // 100 x 30 on white: a box's top edge, 2 rows across and 9 rows down at its rounded ends,
    // and below it a word 6 rows high and as wide as the edge, its glyphs 2 columns apart.
    GreyPlane plane{100, 30, std::vector<std::uint8_t>(std::size_t{100} * 30, 250)};
    for (std::uint32_t y = 0; y < 9; ++y) {
        for (std::uint32_t x = 0; x < 100; ++x) {
            const bool end = x < 3 || x >= 97;
            plane.levels[y * 100 + x] = (y < 2 || end) ? 150 : 250;
        }
    }
    for (std::uint32_t y = 15; y < 21; ++y) {
        for (std::uint32_t x = 0; x < 100; ++x) {
            plane.levels[y * 100 + x] = x % 6 < 4 ? 20 : 250;
        }
    }
    const std::vector<WordBox> lines = InkLinesOf(plane, 48);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ((std::vector<int>{lines[0].left, lines[0].top, lines[0].right, lines[0].bottom}),
              (std::vector<int>{0, 15, 100, 21}));
}

TEST(InkLines, DarkThemesHaveInkLighterThanTheirBackground) {
    GreyPlane plane{20, 10, std::vector<std::uint8_t>(200, 30)};
    for (std::uint32_t y = 3; y < 8; ++y) {
        for (std::uint32_t x = 5; x < 12; ++x) {
            plane.levels[y * 20 + x] = 220;
        }
    }
    const std::vector<WordBox> lines = InkLinesOf(plane, 48);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].left, 5);
    EXPECT_EQ(lines[0].bottom, 8);
}

ReadWord Word(std::u16string text, float confidence, WordBox box = {}) {
    return ReadWord{std::move(text), confidence, box};
}

TEST(ReadWords, MarksAndBlankWordsAreNotPassedOn) {
    struct Case {
        const char* name;
        ReadLine line;
        std::vector<std::u16string> kept;
    };
    const Case cases[] = {
        {"white space only", {Word(u"OK", 90), Word(u" ", 95)}, {u"OK"}},
        {"checkbox before a label", {Word(u"\u201C|", 88), Word(u"开机", 95)}, {u"开机"}},
        {"doubtful short Latin mark", {Word(u"if", 34), Word(u"Desktop", 93)}, {u"Desktop"}},
        {"doubtful long word stays", {Word(u"Remember", 0), Word(u"me", 96)}, {u"Remember", u"me"}},
        {"doubtful Chinese stays", {Word(u"夹", 0), Word(u"列表", 80)}, {u"夹", u"列表"}},
        {"frame edge after a button", {Word(u"增加", 96), Word(u"|", 80)}, {u"增加"}},
        {"closing bracket stays", {Word(u"(a", 90), Word(u")", 90)}, {u"(a", u")"}},
        {"code's closing brace before a keyword",
         {Word(u"}", 75, {0, 0, 14, 30}), Word(u"catch", 94, {40, 0, 130, 25})},
         {u"}", u"catch"}},
        {"code's opening brace after a keyword",
         {Word(u"try", 93, {0, 2, 55, 32}), Word(u"{", 92, {80, 0, 94, 30})},
         {u"try", u"{"}},
        {"a comment's slashes",
         {Word(u"//", 91, {0, 3, 34, 29}), Word(u"handle", 96, {58, 0, 169, 25})},
         {u"//", u"handle"}},
        {"a bullet smaller than its item",
         {Word(u"=", 84, {0, 10, 12, 22}), Word(u"Binary", 93, {40, 0, 150, 26})},
         {u"Binary"}},
        {"a checkbox's sunken edges before its label",
         {Word(u"[|", 80, {0, 0, 13, 13}), Word(u"虚拟桌面", 93, {20, 0, 80, 13})},
         {u"虚拟桌面"}},
        {"a field's edge taller than its label",
         {Word(u"密码", 81, {0, 10, 20, 20}), Word(u"|", 70, {40, 0, 41, 32})},
         {u"密码"}},
        {"a lone symbol is text", {Word(u"?", 90)}, {u"?"}},
        {"negative figure stays", {Word(u"-0.62%", 90), Word(u"GLOBX", 90)}, {u"-0.62%", u"GLOBX"}},
        {"a Latin name amid Chinese stays",
         {Word(u"宏包", 90), Word(u"man", 0), Word(u"对应", 97)},
         {u"宏包", u"man", u"对应"}},
        {"a mark amid Chinese goes",
         {Word(u"宏包", 90), Word(u"|", 20), Word(u"对应", 97)},
         {u"宏包", u"对应"}},
        {"Latin read over Chinese",
         {Word(u"加密", 93, {0, 0, 40, 20}), Word(u"MBAs.", 27, {30, 0, 90, 20}),
          Word(u"Pass", 27, {100, 0, 140, 20})},
         {u"加密", u"Pass"}},
        {"Latin beside Chinese, the boxes touching",
         {Word(u"协议", 93, {0, 0, 63, 50}), Word(u"(LGPL)", 33, {62, 0, 155, 50})},
         {u"协议", u"(LGPL)"}},
    };
    for (const Case& c : cases) {
        const std::vector<OcrLine> lines = TextLinesOf({c.line});
        ASSERT_EQ(lines.size(), 1u) << c.name;
        EXPECT_EQ(lines[0].words, c.kept) << c.name;
    }
    EXPECT_TRUE(TextLinesOf({{Word(u" ", 95)}, {Word(u"ab", 10)}}).empty());
}

TEST(ReadWords, AnAccessKeysParenthesisReadAsABraceIsAParenthesis) {
    const std::vector<ReadLine> lines = WithAccessKeysInParentheses(
        {{Word(u"删除{R)", 90), Word(u"{D)...", 90), Word(u"{x}", 90), Word(u"f{ab)", 90)}});
    EXPECT_EQ(test::TextsOf(lines), (std::vector<std::u16string>{u"删除(R) (D)... {x} f{ab)"}));
}

TEST(ReadWords, LinesOfUprightStrokesAloneAreBordersNotText) {
    const std::vector<OcrLine> lines = TextLinesOf({{Word(u"|", 95, {0, 0, 2, 30})},
                                                    {Word(u"删除文件", 93, {10, 0, 90, 14})},
                                                    {Word(u"||", 90), Word(u"|", 80)}});
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].words, (std::vector<std::u16string>{u"删除文件"}));
}

TEST(ReadWords, LinesOnlyTheOtherReadingFoundAreTakenInByPosition) {
    const std::vector<ReadLine> block = {{Word(u"Title", 90, {0, 0, 100, 20})},
                                         {Word(u"Body", 90, {0, 100, 100, 120})},
                                         {Word(u"12", 90, {300, 100, 360, 120})}};
    const std::vector<ReadLine> sparse = {
        {Word(u"Titel", 60, {0, 2, 90, 18})},         // the same words: left out
        {Word(u"OK", 90, {200, 40, 240, 60})},        // found apart: between the two
        {Word(u"Cancel", 90, {200, 130, 260, 150})},  // found apart: at the end
        {Word(u"ch03", 90, {150, 102, 250, 118})},    // found apart in a row: left of "12"
    };
    const std::vector<ReadLine> merged = WithLinesFoundApart(block, sparse);
    std::vector<std::u16string> firstWords;
    firstWords.reserve(merged.size());
    for (const ReadLine& line : merged) {
        firstWords.push_back(line.front().text);
    }
    EXPECT_EQ(firstWords,
              (std::vector<std::u16string>{u"Title", u"OK", u"Body", u"ch03", u"12", u"Cancel"}));
}

using test::TextsOf;

TEST(ReadWords, ASecondReadingReplacesWhatItsInkCoversRegionByRegion) {
    // A row of a bordered table read cell by cell, its doubtful middle cell read again in a crop
    // that held the whole row: the row's reading takes the place of the cells, once.
    const std::vector<ReadLine> cells = {
        {Word(u"coreutils", 95, {45, 34, 213, 60})},
        {Word(u"findutils", 91, {45, 89, 213, 116})},
        {Word(u"1993", 97, {845, 89, 922, 116})},
        {Word(u"|", 74, {486, 80, 500, 129}), Word(u"V:702,", 74, {501, 89, 600, 122})},
        {Word(u"grep", 97, {44, 151, 120, 177})},
    };
    const ReadLine row = {
        Word(u"findutils", 91, {45, 88, 213, 118}), Word(u"V:702,", 82, {501, 88, 600, 122}),
        Word(u"1993", 97, {845, 89, 922, 116}), Word(u"utilities", 97, {1047, 89, 1180, 122})};
    EXPECT_EQ(TextsOf(WithRegionReadAgain(cells, row)),
              (std::vector<std::u16string>{u"coreutils", u"findutils V:702, 1993 utilities", u"|",
                                           u"grep"}));
    // Words that only touch the row above or below (descenders, a border) are not its ink.
    const std::vector<ReadLine> touching = {{Word(u"above", 96, {0, 0, 100, 30})},
                                            {Word(u"below", 96, {0, 58, 100, 90})}};
    EXPECT_EQ(TextsOf(WithRegionReadAgain(touching, {Word(u"middle", 90, {0, 26, 100, 62})})),
              (std::vector<std::u16string>{u"above", u"below", u"middle"}));
}

TEST(ReadWords, NoPlaceOfTheImageIsInTheReplyTwice) {
    const std::vector<ReadLine> lines = {
        {Word(u"sed", 96, {46, 200, 98, 226}), Word(u"883", 96, {844, 200, 901, 226})},
        {Word(u"sed", 96, {46, 201, 98, 226}), Word(u"V:790,", 91, {501, 200, 600, 233})},
        {Word(u"883", 96, {844, 199, 901, 226})},
        {Word(u"gawk", 96, {44, 222, 119, 255})},  // touches the row above: a line of its own
    };
    EXPECT_EQ(TextsOf(WithEachPlaceOnce(lines)),
              (std::vector<std::u16string>{u"sed 883", u"V:790,", u"gawk"}));
}

TEST(ReadWords, AMarkOnAWordsInkNeverTakesTheWordsPlace) {
    // Dots read on the baseline of a table row, in a line that comes before the row's own.
    const std::vector<ReadLine> lines = {
        {Word(u".", 69, {202, 235, 208, 243}), Word(u"V:56,", 74, {301, 210, 392, 243}),
         Word(u".", 51, {1200, 237, 1205, 242})},
        {Word(u"thunderbird", 96, {15, 237, 259, 267}),
         Word(u"Mozilla", 96, {1125, 237, 1249, 267})},
    };
    EXPECT_EQ(TextsOf(WithEachPlaceOnce(lines)),
              (std::vector<std::u16string>{u"V:56,", u"thunderbird Mozilla"}));
}

TEST(ReadWords, MarksUnderWordsFoundInTheirRowGo) {
    // A checkbox read as a letter beside the found word, and a nonsense word of the row above
    // that reaches down over it.
    std::vector<ReadLine> lines = {
        {Word(u"as", 18, {0, 0, 100, 40})},
        {Word(u"O", 20, {0, 22, 14, 32}), Word(u"目录", 30, {20, 22, 60, 38})}};
    DropMarksUnder(lines, {{Word(u"目录", 90, {12, 22, 60, 38})}});
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0].front().text, u"as");
    ASSERT_EQ(lines[1].size(), 1U);
    EXPECT_EQ(lines[1].front().text, u"目录");
}

TEST(ReadWords, AMissedPieceReadStandsInTheRowWhoseMarksItTookOut) {
    // A file list's row whose name the first reading doubted below a mark, an icon's speck before
    // it; a crop of the name reads it. A button found on its own goes in as a line of its own.
    const std::vector<ReadLine> lines = {
        {Word(u"|", 75, {41, 30, 45, 31}), Word(u"ch05.en.html", 35, {71, 26, 296, 54}),
         Word(u"89.18", 96, {621, 29, 717, 54}), Word(u"KiB", 95, {732, 27, 784, 54})},
        {Word(u"ch06.en.html", 90, {71, 76, 296, 104})}};
    EXPECT_EQ(TextsOf(WithMissedPiecesRead(lines, {{Word(u"ch05.en.html", 53, {71, 26, 296, 54})},
                                                   {Word(u"OK", 90, {700, 120, 740, 140})}})),
              (std::vector<std::u16string>{u"| ch05.en.html 89.18 KiB", u"ch06.en.html", u"OK"}));
}

TEST(ReadWords, DoubtedWordsTakeAConfidentIdeographicReadingOfTheirBox) {
    const auto doubted = [](const ReadWord& word) { return word.confidence < 85; };
    struct Case {
        const char* name;
        ReadLine again;
        std::vector<std::u16string> words;
    };
    const Case cases[] = {
        {"taken",
         {Word(u"记住我", 90, {10, 0, 50, 20}), Word(u"Rem", 40, {60, 0, 100, 20})},
         {u"记住我", u"Remember"}},
        {"less confident, below the least confidence",
         {Word(u"记住我", 10, {10, 0, 50, 20})},
         {u"igf£#", u"Remember"}},
        {"one ideograph below the least confidence",
         {Word(u"日", 55, {10, 0, 50, 20})},
         {u"igf£#", u"Remember"}},
        {"two ideographs above the least confidence of several",
         {Word(u"记住", 35, {10, 0, 50, 20})},
         {u"记住", u"Remember"}},
        {"two ideographs below it", {Word(u"记住", 25, {10, 0, 50, 20})}, {u"igf£#", u"Remember"}},
        {"no ideograph", {Word(u"igt", 95, {10, 0, 50, 20})}, {u"igf£#", u"Remember"}},
        {"reaching past the word",
         {Word(u"记住我", 90, {10, 0, 120, 20})},
         {u"igf£#", u"Remember"}},
        {"meeting a word not doubted",
         {Word(u"记住", 90, {40, 0, 62, 20})},
         {u"igf£#", u"Remember"}},
    };
    for (const Case& c : cases) {
        ReadLine line = {Word(u"igf£#", 14, {8, 0, 52, 20}),
                         Word(u"Remember", 96, {60, 0, 100, 20})};
        TakeIdeographicReadings(line, c.again, {60, 30}, doubted);
        std::vector<std::u16string> words;
        for (const ReadWord& word : line) {
            words.push_back(word.text);
        }
        EXPECT_EQ(words, c.words) << c.name;
    }
}

TEST(ReadWords, SeveralIdeographsReplaceLatinNonsenseRatedAsHigh) {
    const auto doubted = [](const ReadWord& word) { return word.confidence < 85; };
    const auto read = [&](const ReadLine& again) {
        ReadLine line = {Word(u"CARA", 50, {0, 0, 40, 20}), Word(u"GNU", 93, {50, 0, 80, 20})};
        TakeIdeographicReadings(line, again, {40, 25}, doubted);
        return TextsOf({line});
    };
    EXPECT_EQ(read({Word(u"出版的", 49, {0, 0, 40, 20})}),
              std::vector<std::u16string>{u"出版的 GNU"});
    EXPECT_EQ(read({Word(u"出", 49, {0, 0, 40, 20})}), std::vector<std::u16string>{u"CARA GNU"});
}

TEST(ReadWords, AReadingReplacesOneDoubtedWordOnly) {
    // Two doubted words (not nonsense: above the mark confidence) whose boxes both hold the
    // middle of one Chinese word read again.
    ReadLine line = {Word(u"igf", 44, {8, 0, 52, 20}), Word(u"£#", 50, {20, 0, 60, 20})};
    TakeIdeographicReadings(line, {Word(u"记住", 90, {25, 0, 45, 20})}, {60, 60},
                            [](const ReadWord&) { return true; });
    ASSERT_EQ(line.size(), 2U);
    EXPECT_EQ(line[0].text, u"记住");
    EXPECT_EQ(line[1].text, u"£#");
}

TEST(ReadWords, ARunOfNonsenseIsReplacedWholeWithTheCharactersBetweenItsWords) {
    ReadLine line = {Word(u"xt", 10, {0, 0, 20, 20}), Word(u"ORR", 5, {30, 0, 60, 20}),
                     Word(u"Remember", 96, {80, 0, 140, 20})};
    // "模" lies in the gap between the two nonsense words.
    TakeIdeographicReadings(line,
                            {Word(u"忽略", 90, {0, 0, 24, 20}), Word(u"模", 80, {24, 0, 30, 20}),
                             Word(u"式", 85, {34, 0, 58, 20})},
                            {60, 60}, [](const ReadWord& word) { return word.confidence < 85; });
    std::vector<std::u16string> words;
    for (const ReadWord& word : line) {
        words.push_back(word.text);
    }
    EXPECT_EQ(words, (std::vector<std::u16string>{u"忽略", u"模", u"式", u"Remember"}));
}

TEST(ReadWords, PiecesOfInkNoWordMeetsAreMissedARowAtATime) {
    const std::vector<ReadLine> read = {{Word(u"Name", 90, {0, 0, 40, 10})}};
    const std::vector<WordBox> pieces = {
        {2, 1, 38, 9},     // under the word read: met
        {60, 0, 90, 10},   // beside it, missed
        {0, 20, 30, 30},   // a row missed whole: its two cells come as one box
        {50, 21, 80, 31},  //
        {0, 40, 30, 50},   // a row of two cells, the second met
        {50, 40, 80, 50},
        {0, 60, 10, 70},     // a row missed whole, its two pieces more than 8 heights apart
        {100, 60, 130, 70},  //
    };
    const std::vector<ReadLine> alsoRead = {read[0], {Word(u"Size", 90, {55, 42, 75, 48})}};
    const std::vector<WordBox> missed = MissedPieces(pieces, alsoRead);
    ASSERT_EQ(missed.size(), 5U);
    EXPECT_EQ((std::vector<int>{missed[0].left, missed[0].right}), (std::vector<int>{60, 90}));
    EXPECT_EQ((std::vector<int>{missed[1].left, missed[1].top, missed[1].right, missed[1].bottom}),
              (std::vector<int>{0, 20, 80, 31}));
    EXPECT_EQ((std::vector<int>{missed[2].left, missed[2].right}), (std::vector<int>{0, 30}));
    EXPECT_EQ((std::vector<int>{missed[3].left, missed[3].right}), (std::vector<int>{0, 10}));
    EXPECT_EQ((std::vector<int>{missed[4].left, missed[4].right}), (std::vector<int>{100, 130}));
}

TEST(ReadWords, PagesAreCutBetweenLinesNearestTheMiddleLine) {
    struct Case {
        const char* name;
        std::vector<WordBox> lines;
        std::optional<std::uint32_t> cut;
    };
    const Case cases[] = {
        {"four rows", {{0, 0, 9, 10}, {0, 20, 9, 30}, {0, 40, 9, 50}, {0, 60, 9, 70}}, 35},
        {"out of order", {{0, 60, 9, 70}, {0, 0, 9, 10}, {0, 40, 9, 50}, {0, 20, 9, 30}}, 35},
        {"a tall column beside the middle",
         {{0, 0, 9, 10}, {0, 20, 9, 30}, {50, 5, 59, 55}, {0, 40, 9, 50}, {0, 60, 9, 70}},
         57},
        {"nothing clear", {{0, 0, 9, 50}, {20, 10, 29, 60}}, std::nullopt},
        {"one line", {{0, 0, 9, 10}}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CutBetweenLines(c.lines, 100), c.cut) << c.name;
    }
    // A frame's side crosses rows 30 to 44: the cut moves to the nearest gap it leaves free.
    std::vector<std::uint8_t> framed(100);
    std::fill(framed.begin() + 30, framed.begin() + 45, 1);
    EXPECT_EQ(CutBetweenLines(cases[0].lines, 100, framed), 15U);
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
