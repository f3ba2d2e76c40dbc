// The pass that reads a doubtful page again at half size.
#pragma once

#include "glyphsnap/recognition/tesseract/layout/page_regions.h"
#include "glyphsnap/recognition/tesseract/layout/planes.h"
#include "glyphsnap/recognition/tesseract/passes/page_state.h"

namespace glyphsnap {

// The page read again at half size, within the second readings' budget. Tesseract misreads
// glyphs that the enlargement for small images has made very large; the halved reading only
// ever improves the first: when it fails or runs out of time, the first stands.
void ReadHalved(PageState& page);

// `halved`, a reading of `halvedPlane` (the page at half size), taken into the page when it is
// more confident than the lines read so far, with the lines only those found put in by position;
// the later second readings then read the half. The page keeps its own pixels.
void TakeHalvedReading(PageState& page, GreyPlane halvedPlane, Reading halved);

}  // namespace glyphsnap
