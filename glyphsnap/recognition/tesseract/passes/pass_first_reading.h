// The pass that reads the page first.
#pragma once

#include <optional>

#include "glyphsnap/recognition/recognition.h"
#include "glyphsnap/recognition/tesseract/passes/page_state.h"

namespace glyphsnap {

// The page read as one block, in its two bands by two engines at once when it has a cut, and its
// ruled tables left blank: they are read cell by cell. The failure of this reading is the
// request's: there is nothing for a second reading to improve.
std::optional<RecognitionFailure> ReadFirst(PageState& page);

}  // namespace glyphsnap
