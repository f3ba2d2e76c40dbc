// The contract between Glyphsnap and its recognizer module, which lies beside the executable.
#pragma once

#include "image_pipeline.h"

namespace glyphsnap {

inline constexpr const char* kRecognizerModuleName = "glyphsnap-tesseract.so";
inline constexpr const char* kRecognizerFactorySymbol = "glyphsnap_create_recognizer";

// The module's one entry point: a new recognizer for the user's profile languages, owned by the
// caller, or null when there is none.
using CreateRecognizerFunction = TextRecognizer* (*)();

}  // namespace glyphsnap
