// The reading order of table cells that wrap onto several lines.
#pragma once

#include <vector>

#include "glyphsnap/recognition/tesseract/layout/words.h"

namespace glyphsnap {

// `lines` (the engine's reading of one page, top to bottom) with the lines of each table row
// that holds a wrapped cell put in page order: cell by cell from left to right, each cell's lines
// in turn, each piece of a line that lies in one column as a line of its own. The engine reads
// across a whole row, so a short cell beside a wrapped one would land between its lines.
//
// A table is a run of lines that a column gutter runs through: a strip no word crosses, at least
// as wide as a word is high and as two gaps between words, with words on both sides of it in at
// least three of the lines, or in two and a line with words right of it only. A heading above a
// paragraph whose last line is short is no table. Two
// lines are one row when, in a column they share, the upper piece is left-aligned with the lower
// one and the lower one's first word would not have fitted after it (a wrap), and the lines lie
// closer together than any two lines of the table known to be in different rows (where the next
// word would have fitted) and than two and a quarter word heights. A table without such rows, and
// all other text, is left as it is.
std::vector<ReadLine> InCellOrder(std::vector<ReadLine> lines);

}  // namespace glyphsnap
