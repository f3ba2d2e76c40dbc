// The pass that reads the page again as sparse text.
#pragma once

#include "glyphsnap/recognition/tesseract/passes/page_state.h"

namespace glyphsnap {

// Where the sparse reading cuts the page between the two engines: as the first reading did, or
// nowhere.
enum class SparseBands { AsFirstReading, None };

// The page read as sparse text, laid over the lines read so far: the more confident reading's
// lines stand, with the lines only the other found put in by position.
void ReadSparse(PageState& page, SparseBands bands);

}  // namespace glyphsnap
