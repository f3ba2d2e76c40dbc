// The pass that reads lines with doubtful ideographs again at other sizes.
#pragma once

#include "glyphsnap/recognition/tesseract/passes/page_state.h"

namespace glyphsnap {

// In a Chinese profile, each line holding an ideograph the engine doubts is read again by the
// Chinese model alone at two other sizes, and an ideograph of a doubtful word becomes the one
// both readings put in its place, each more confident: the model misreads a dense 12-pixel
// ideograph at one size and reads it right at others. The recognizer runs it on doubtful pages
// (dialogs), where such ideographs are; on pages of running text it costs more than it mends.
void ReadDoubtfulIdeographsAgain(PageState& page);

}  // namespace glyphsnap
