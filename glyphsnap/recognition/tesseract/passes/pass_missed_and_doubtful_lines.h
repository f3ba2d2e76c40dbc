// The pass that reads again, line by line, what the first reading missed or doubts.
#pragma once

#include "glyphsnap/recognition/tesseract/passes/page_state.h"

namespace glyphsnap {

// The second readings of whole lines, within the budget, missing ones first. Each piece of an ink
// line that no word read meets is read as a crop, and its lines are put in by position: the
// engine's layout analysis passes over whole lines (a second line below a first at some sizes,
// rows of a tall table), which the same analysis cannot notice. Each doubtful line is read again
// as sparse text in a crop and replaced by a better reading. False when a missed piece stays
// unread: its crop gave no words, or the budget ran out; a lone glyph that its crop reads as
// nothing is taken for the mark it is.
bool ReadMissedAndDoubtfulLines(PageState& page);

}  // namespace glyphsnap
