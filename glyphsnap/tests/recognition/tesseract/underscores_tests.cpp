// Which gaps between two words hold an underscore the engine read as a space.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/underscores.h"
#include "glyphsnap/tests/recognition/tesseract/drawn_plane.h"

namespace glyphsnap {
namespace {

constexpr std::uint8_t kPaper = 250;
constexpr std::uint8_t kInk = 20;

// A 160 x 60 page of `paper`, on which words, underscores and lines are drawn in `ink`.
class Page : public test::DrawnPlane {
  public:
    explicit Page(std::uint8_t paper = kPaper, std::uint8_t ink = kInk)
        : DrawnPlane(160, 60, paper), ink_(ink) {}

    // A word as its box: glyph stems 2 columns wide, 2 columns apart.
    Page& Word(const WordBox& box) {
        for (int x = box.left; x < box.right; x += 4) {
            Fill({x, box.top, x + 2, box.bottom});
        }
        return *this;
    }

    Page& Fill(const WordBox& area) {
        DrawnPlane::Fill(area, ink_);
        return *this;
    }

  private:
    std::uint8_t ink_;
};

// Two words 20 pixels high with a gap of 10 between them (columns 50 to 60).
constexpr WordBox kBefore{10, 10, 50, 30};
constexpr WordBox kAfter{60, 10, 100, 30};

TEST(Underscores, OnlyAThinStrokeAtTheWordsFootAloneInTheGapIsAnUnderscore) {
    struct Case {
        const char* name;
        std::vector<WordBox> strokes;
        WordBox after;
        bool underscore;
    };
    const std::vector<Case> cases{
        {"an underscore, its cell a pixel wider than the gap", {{49, 31, 61, 33}}, kAfter, true},
        {"an antialiased underscore, its upper row filled only in the gap's middle",
         {{49, 32, 61, 33}, {53, 31, 57, 32}},
         kAfter,
         true},
        {"the gap left blank", {}, kAfter, false},
        {"an underlined link's line, under both words", {{10, 31, 100, 33}}, kAfter, false},
        {"a dash halfway up", {{51, 19, 59, 21}}, kAfter, false},
        {"a stroke too thick for an underscore", {{49, 31, 61, 40}}, kAfter, false},
        {"the top bar of a letter of the line below, on its stem",
         {{49, 34, 61, 36}, {54, 36, 56, 50}},
         kAfter,
         false},
        {"a stroke under a word that stands half a line lower",
         {{49, 41, 61, 43}},
         {60, 20, 100, 40},
         false},
        {"a stroke across a gap wider than a column's gutter",
         {{49, 31, 111, 33}},
         {110, 10, 150, 30},
         false},
    };
    for (const Case& c : cases) {
        Page page;
        page.Word(kBefore).Word(c.after);
        for (const WordBox& stroke : c.strokes) {
            page.Fill(stroke);
        }
        EXPECT_EQ(HoldsUnderscore(page.Plane(), kBefore, c.after), c.underscore) << c.name;
    }
}

TEST(Underscores, ADarkThemesLightUnderscoreIsOneToo) {
    Page page(30, 220);
    page.Word(kBefore).Word(kAfter).Fill({49, 31, 61, 33});
    EXPECT_TRUE(HoldsUnderscore(page.Plane(), kBefore, kAfter));
}

TEST(Underscores, WordsAroundAnUnderscoreBecomeOneWordUnlessOneIsChinese) {
    Page page;
    const WordBox third{110, 10, 150, 30};
    page.Word(kBefore).Word(kAfter).Word(third).Fill({49, 31, 61, 33}).Fill({99, 31, 111, 33});
    const std::vector<ReadLine> lines{{{u"FILE", 90, kBefore}, {u"SET", 60, kAfter}},
                                      {{u"FILE", 90, kBefore}, {u"文件", 80, kAfter}},
                                      {{u"SET", 60, kAfter}, {u"x", 95, third}}};
    const std::vector<ReadLine> joined = WithUnderscoresInGaps(lines, page.Plane());
    ASSERT_EQ(joined.size(), 3U);
    ASSERT_EQ(joined[0].size(), 1U);
    EXPECT_EQ(joined[0][0].text, u"FILE_SET");
    EXPECT_EQ(joined[0][0].confidence, 60);
    EXPECT_EQ((std::vector<int>{joined[0][0].box.left, joined[0][0].box.right}),
              (std::vector<int>{10, 100}));
    EXPECT_EQ(joined[1].size(), 2U);
    ASSERT_EQ(joined[2].size(), 1U);
    EXPECT_EQ(joined[2][0].text, u"SET_x");
}

}  // namespace
}  // namespace glyphsnap
