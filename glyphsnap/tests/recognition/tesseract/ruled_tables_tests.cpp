// Which ruled grids are tables, and how the rows read cell by cell take the place of the first
// reading.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/ruled_tables.h"
#include "glyphsnap/tests/recognition/tesseract/drawn_plane.h"

namespace glyphsnap {
namespace {

constexpr std::uint8_t kPaper = 250;
constexpr std::uint8_t kRule = 140;
constexpr std::uint8_t kInk = 20;
constexpr std::uint32_t kWidth = 240;
constexpr std::uint32_t kHeight = 160;

// A page on which ruled grids are drawn.
class Page : public test::DrawnPlane {
  public:
    Page() : DrawnPlane(kWidth, kHeight, kPaper) {}

    // A grid of one-pixel rules at rows `across` and columns `down`, the rules down spanning
    // from the first row to the last; a glyph stem in each cell.
    Page& Grid(const std::vector<int>& across, const std::vector<int>& down) {
        for (const int y : across) {
            Fill({down.front(), y, down.back() + 1, y + 1}, kRule);
        }
        for (const int x : down) {
            Fill({x, across.front(), x + 1, across.back() + 1}, kRule);
        }
        for (std::size_t r = 0; r + 1 < across.size(); ++r) {
            for (std::size_t c = 0; c + 1 < down.size(); ++c) {
                Fill({down[c] + 4, across[r] + 4, down[c] + 6, across[r + 1] - 4}, kInk);
            }
        }
        return *this;
    }
};

std::vector<std::vector<int>> CellsOf(const std::vector<TableRow>& rows) {
    std::vector<std::vector<int>> cells;
    for (const TableRow& row : rows) {
        for (const WordBox& cell : row.cells) {
            cells.push_back({cell.left, cell.top, cell.right, cell.bottom});
        }
    }
    return cells;
}

TEST(RuledTables, AGridOfTwoRowsOfCellsOrMoreIsATable) {
    Page page;
    // A table of three rows, the first a heading across both columns.
    page.Grid({10, 30, 50, 70}, {10, 60, 110});
    page.Fill({60, 11, 61, 30}, kPaper);
    // A code block: a box no line down cuts.
    page.Grid({90, 130}, {10, 110});
    // Two rows of which one is cut into cells.
    page.Grid({90, 110, 130}, {130, 230});
    page.Fill({180, 110, 181, 130}, kRule);
    const std::vector<TableRow> rows = RuledTableRows(page.Plane(), 30);
    EXPECT_EQ(CellsOf(rows), (std::vector<std::vector<int>>{{11, 11, 110, 30},
                                                            {11, 31, 60, 50},
                                                            {61, 31, 110, 50},
                                                            {11, 51, 60, 70},
                                                            {61, 51, 110, 70}}));
}

TEST(RuledTables, TextTouchingARuleLeavesTheGridATable) {
    Page page;
    page.Grid({10, 30, 50}, {10, 60, 110});
    // A glyph's foot on the rule below it, and a stroke across as long as a rule in a cell.
    page.Fill({20, 20, 22, 30}, kInk).Fill({64, 40, 104, 41}, kInk);
    EXPECT_EQ(CellsOf(RuledTableRows(page.Plane(), 30)),
              (std::vector<std::vector<int>>{
                  {11, 11, 60, 30}, {61, 11, 110, 30}, {11, 31, 60, 50}, {61, 31, 110, 50}}));
}

ReadWord Word(std::u16string text, WordBox box) {
    return ReadWord{std::move(text), 90, box};
}

TEST(RuledTables, RowsReadByCellTakeThePlaceOfWhatTheyRead) {
    // Two rows of two cells below a heading; the second row's first cell is a name centred beside
    // a description wrapped onto two lines, which the first reading read across the row.
    const std::vector<TableRow> rows{{{{10, 40, 60, 60}, {61, 40, 200, 60}}},
                                     {{{10, 61, 60, 100}, {61, 61, 200, 100}}},
                                     {{{10, 101, 60, 120}, {61, 101, 200, 120}}}};
    const std::vector<ReadLine> first{
        {Word(u"Heading", {10, 10, 80, 25})},
        {Word(u"gzip", {12, 44, 40, 56}), Word(u"compress", {64, 44, 120, 56})},
        {Word(u"files", {64, 64, 100, 76})},
        {Word(u"tar", {12, 74, 40, 86}), Word(u"archives", {64, 84, 130, 96})},
        {Word(u"Below", {10, 130, 60, 145})}};
    const std::vector<std::vector<ReadLine>> byCell{
        {{Word(u"gzip", {12, 44, 40, 56}), Word(u"compress", {64, 44, 120, 56})}},
        {{Word(u"tar", {12, 74, 40, 86}), Word(u"files", {64, 64, 100, 76}),
          Word(u"archives", {64, 84, 130, 96})}},
        {{Word(u"xz", {12, 104, 40, 116})}}};
    EXPECT_EQ(test::TextsOf(WithRowsReadByCell(first, rows, byCell)),
              (std::vector<std::u16string>{u"Heading", u"gzip compress", u"tar files archives",
                                           u"xz", u"Below"}));
}

TEST(RuledTables, ATableLeftBlankTakesTheLevelAroundItAndComesBack) {
    Page page;
    page.Fill({0, 0, kWidth, kHeight}, 30);  // a dark page
    page.Grid({10, 30, 50}, {10, 60, 110});
    const std::vector<TableRow> rows = RuledTableRows(page.Plane(), 30);
    ASSERT_EQ(rows.size(), 2U);
    const GreyPlane before = page.Plane();
    {
        const TablesBlanked blank(page.Plane(), rows);
        for (const auto& [x, y] : std::vector<std::pair<int, int>>{{10, 10}, {14, 20}, {110, 50}}) {
            EXPECT_EQ(page.At(x, y), 30) << x << ", " << y;
        }
    }
    EXPECT_EQ(page.Plane().levels, before.levels);
}

}  // namespace
}  // namespace glyphsnap
