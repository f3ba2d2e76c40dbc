// The pieces of ink no word of a reading meets, and their readings put in.
#pragma once

#include <vector>

#include "glyphsnap/recognition/tesseract/layout/words.h"

namespace glyphsnap {

// The boxes of `pieces` (pieces of text lines of the ink, in page order) that no word of `lines`
// that is more than a mark meets. Missed pieces side by side in one row, with no met piece between
// them and near each other, come as one box: a row missed whole is read again as one line.
std::vector<WordBox> MissedPieces(const std::vector<WordBox>& pieces,
                                  const std::vector<ReadLine>& lines);

// Takes out of `lines` the words that are no more than marks where they meet words of `found`
// (a reading of the crop of a piece of ink that only marks met) in those words' rows; a line left
// without words stays, empty, so that places in `lines` hold. A doubtful word whose middle lies
// outside the rows it meets reaches over ink of its own (a line the found words do not hold) and
// stays, to be read again.
void DropMarksUnder(std::vector<ReadLine>& lines, const std::vector<ReadLine>& found);

// `lines` with `found` read in, as the marks under it dropped (DropMarksUnder): a found line that
// took marks out of one line stands in that line where the first of them stood (a file name the
// first reading doubted, in its row); the others go in as lines found apart (WithLinesFoundApart).
std::vector<ReadLine> WithMissedPiecesRead(std::vector<ReadLine> lines,
                                           const std::vector<ReadLine>& found);

}  // namespace glyphsnap
