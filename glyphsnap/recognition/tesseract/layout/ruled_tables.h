// Tables whose cells are ruled: a grid of thin lines, or a box around each cell.
#pragma once

#include <cstdint>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/planes.h"
#include "glyphsnap/recognition/tesseract/layout/words.h"

namespace glyphsnap {

// One row of a ruled table: the inside of each of its cells, left to right.
struct TableRow {
    std::vector<WordBox> cells;
};

// The rows of the tables ruled as a grid on `plane`, top to bottom. A row is a band between two
// lines across of one length (at least `shortestRule` pixels) whose ends a line down joins, cut
// into cells by the lines down that cross the whole band; a table is a run of such bands one
// below the other, at least two of them of two cells or more. A lone box (a field, a code block,
// a group box) and a band that no line down cuts are no table.
std::vector<TableRow> RuledTableRows(const GreyPlane& plane, std::uint32_t shortestRule);

// `cells` (boxes that are each a cell of a table) as rows: cells whose tops lie within a frame
// stroke of each other, left to right, the rows top to bottom.
std::vector<TableRow> RowsOfCells(std::vector<WordBox> cells);

// `lines` with `rowReadings` (for each of `rows`, the lines read in its cells, cell by cell from
// left to right; none for a row not read) in place of what they read: each word whose middle lies
// in a read row goes, lines left without words go, and each row's lines stand where the first
// line that lost words to it stood, rows in their order; the lines of a row that took no words
// stand before the first line below their middle.
std::vector<ReadLine> WithRowsReadByCell(std::vector<ReadLine> lines,
                                         const std::vector<TableRow>& rows,
                                         std::vector<std::vector<ReadLine>> rowReadings);

// While it lives, each table of `rows` on `plane` (rows one right below the other, with their
// rules) is painted over with the level most common just outside it, so that a reading of the
// plane leaves the tables to be read cell by cell; their pixels come back when it ends. Only the
// tables' pixels are kept aside, not a copy of the page.
class TablesBlanked {
  public:
    TablesBlanked(GreyPlane& plane, const std::vector<TableRow>& rows);
    ~TablesBlanked();
    TablesBlanked(const TablesBlanked&) = delete;
    TablesBlanked& operator=(const TablesBlanked&) = delete;

  private:
    GreyPlane& plane_;
    std::vector<WordBox> tables_;
    std::vector<std::uint8_t> kept_;
};

// True when the middle of `box` lies inside a cell of `rows`.
bool LiesInACell(const WordBox& box, const std::vector<TableRow>& rows);

// `rows` enlarged (or shrunk) `factor` times.
std::vector<TableRow> ScaledRows(std::vector<TableRow> rows, float factor);

}  // namespace glyphsnap
