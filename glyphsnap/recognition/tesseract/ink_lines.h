// Text lines found from the ink of a grey plane alone, without the engine's layout analysis.
#pragma once

#include <cstdint>
#include <vector>

#include "glyphsnap/recognition/tesseract/planes.h"
#include "glyphsnap/recognition/tesseract/words.h"

namespace glyphsnap {

// The pieces of text lines on the plane: runs of rows that hold ink, each cut where a gap of
// background wider than twice the run's height runs through it, each piece's box tight around
// its ink. Ink differs from the commonest level by more than antialiasing does; strokes longer
// than `longestStroke` pixels down (frames, the borders of a table) and runs of rows too thin
// for text (rules) are not text. In page order: top to bottom, left to right within a run.
std::vector<WordBox> InkLinesOf(const GreyPlane& plane, std::uint32_t longestStroke);

}  // namespace glyphsnap
