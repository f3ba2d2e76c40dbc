// Text lines found from the ink of a grey plane alone, without the engine's layout analysis.
#pragma once

#include <cstdint>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/planes.h"
#include "glyphsnap/recognition/tesseract/layout/words.h"

namespace glyphsnap {

// The pieces of text lines on the plane: runs of rows that hold ink, each cut where a gap of
// background wider than twice the run's height runs through it, each piece's box tight around
// its ink. Ink differs from the commonest level by more than antialiasing does; strokes longer
// than `longestStroke` pixels down (frames, the borders of a table) and runs of rows too thin
// for text (rules) are not text. In page order: top to bottom, left to right within a run.
// `removed`, when given, gets the strokes down left out.
struct StrokesDown {
    // For each row 1 where such a stroke crosses it: the side of a frame (a list box, a group
    // box, a table's border) that a cut there would pass through.
    std::vector<std::uint8_t> framedRows;
    // The longest stroke left out; 0 for none.
    std::uint32_t longest = 0;
};
std::vector<WordBox> InkLinesOf(const GreyPlane& plane, std::uint32_t longestStroke,
                                StrokesDown* removed = nullptr);

// True when a piece holds a stroke across longer than `longestStroke` pixels: the edge of an
// input box or a button beside a label, which no line of text holds.
bool HoldsStrokeAcross(const GreyPlane& plane, const std::vector<WordBox>& pieces,
                       std::uint32_t longestStroke);

}  // namespace glyphsnap
