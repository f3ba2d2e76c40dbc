// The pass that reads doubtful Latin words again with the Chinese model alone.
#pragma once

#include "glyphsnap/recognition/tesseract/passes/page_state.h"

namespace glyphsnap {

// In a Chinese profile, each run of doubtful words without an ideograph is read again by
// the Chinese model alone, as a crop, and that reading replaces them when it is more
// confident: the mixed model reads short Chinese labels, and Chinese beside a checkbox, as
// Latin letters.
void ReadDoubtfulWordsAgain(PageState& page);

}  // namespace glyphsnap
