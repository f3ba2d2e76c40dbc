// The page made ready for its first reading.
#pragma once

#include "glyphsnap/recognition/image/bitmap.h"
#include "glyphsnap/recognition/tesseract/passes/page_state.h"

namespace glyphsnap {

// The page of `bitmap` as the passes read it, nothing read yet. The ink's own lines decide where
// the page is cut between two engines, before any layout analysis; the engine's layout analysis
// of the upper band alone (or of the whole page) measures the text lines, whose height sets the
// shortest frame taken out and how much the page is enlarged. The ink lines and the cut are in
// the enlarged page's pixels.
PageState PreparedPage(const BgraBitmap& bitmap, const Readers& readers);

}  // namespace glyphsnap
