// Which boxes drawn around text lose their sides before reading.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/boxes.h"
#include "glyphsnap/recognition/tesseract/layout/words.h"
#include "glyphsnap/tests/recognition/tesseract/drawn_plane.h"

namespace glyphsnap {
namespace {

constexpr std::uint8_t kPaper = 250;
constexpr std::uint8_t kBorder = 120;
constexpr std::uint8_t kInk = 20;
constexpr std::uint32_t kWidth = 200;
constexpr std::uint32_t kHeight = 120;

// A page on which boxes are drawn as a table's cells with their own borders.
class Page : public test::DrawnPlane {
  public:
    Page() : DrawnPlane(kWidth, kHeight, kPaper) {}

    // A box of one-pixel sides around `box`, with a glyph stem inside touching its left side
    // but for one pixel's gap, as a cell's text a pixel from its border.
    void Cell(const WordBox& box) {
        Fill({box.left, box.top, box.right, box.top + 1}, kBorder);
        Fill({box.left, box.bottom - 1, box.right, box.bottom}, kBorder);
        Fill({box.left, box.top, box.left + 1, box.bottom}, kBorder);
        Fill({box.right - 1, box.top, box.right, box.bottom}, kBorder);
        Fill({box.left + 2, box.top + 4, box.left + 4, box.bottom - 4}, kInk);
    }
};

TEST(BoxSides, OnlyTheCellsOfATableOfBoxesLoseTheirSides) {
    Page page;
    // A table of 2 x 2 cells, each in a border of its own, two pixels apart.
    page.Cell({10, 10, 50, 30});
    page.Cell({52, 10, 92, 30});
    page.Cell({10, 32, 50, 52});
    page.Cell({52, 32, 92, 52});
    // A field alone, and fields in rows and columns further apart than a table's cells.
    page.Cell({110, 10, 190, 30});
    for (const WordBox& field : {WordBox{10, 60, 40, 76}, WordBox{60, 60, 90, 76},
                                 WordBox{10, 96, 40, 112}, WordBox{60, 96, 90, 112}}) {
        page.Cell(field);
    }
    // A table of colour swatches: boxes that hold no text.
    for (const WordBox& swatch : {WordBox{130, 50, 150, 70}, WordBox{152, 50, 172, 70},
                                  WordBox{130, 72, 150, 92}, WordBox{152, 72, 172, 92}}) {
        page.Fill(swatch, kBorder);
        page.Fill({swatch.left + 1, swatch.top + 1, swatch.right - 1, swatch.bottom - 1}, kPaper);
    }
    const GreyPlane before = page.Plane();
    const std::vector<WordBox> cells = RemoveBoxSides(page.Plane(), 12);
    std::vector<std::vector<int>> insides;
    insides.reserve(cells.size());
    for (const WordBox& cell : cells) {
        insides.push_back({cell.left, cell.top, cell.right, cell.bottom});
    }
    EXPECT_EQ(insides,
              (std::vector<std::vector<int>>{
                  {11, 11, 49, 29}, {53, 11, 91, 29}, {11, 33, 49, 51}, {53, 33, 91, 51}}));

    EXPECT_EQ(page.At(10, 20), kPaper) << "a cell's left side";
    EXPECT_EQ(page.At(91, 40), kPaper) << "a cell's right side";
    EXPECT_EQ(page.At(30, 51), kPaper) << "a cell's bottom";
    EXPECT_EQ(page.At(12, 20), kInk) << "the text beside a side";
    for (const auto& [x, y] :
         std::vector<std::pair<int, int>>{{110, 20}, {10, 70}, {89, 100}, {130, 60}, {171, 80}}) {
        EXPECT_EQ(page.At(x, y), kBorder) << "a side at " << x << ", " << y << " that stays";
    }
    page.Fill({10, 10, 92, 52}, kPaper);
    GreyPlane rest = before;
    for (int y = 10; y < 52; ++y) {
        for (int x = 10; x < 92; ++x) {
            rest.levels[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)] =
                kPaper;
        }
    }
    EXPECT_EQ(page.Plane().levels, rest.levels) << "nothing outside the table changed";
}

TEST(BoxSides, AFilledBoxIsNoFrame) {
    Page page;
    for (const WordBox& cell : {WordBox{10, 10, 50, 30}, WordBox{52, 10, 92, 30},
                                WordBox{10, 32, 50, 52}, WordBox{52, 32, 92, 52}}) {
        page.Fill(cell, kBorder);
        page.Fill({cell.left + 4, cell.top + 4, cell.left + 8, cell.bottom - 4}, kPaper);
    }
    EXPECT_TRUE(RemoveBoxSides(page.Plane(), 12).empty());
}

}  // namespace
}  // namespace glyphsnap
