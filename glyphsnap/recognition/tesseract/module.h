// The contract between Glyphsnap and its recognizer module, which lies beside the executable.
#pragma once

#include "glyphsnap/recognition/image/pipeline.h"
#include "glyphsnap/recognition/recognition.h"

namespace glyphsnap {

inline constexpr const char* kRecognizerModuleName = "glyphsnap-tesseract.so";
inline constexpr const char* kRecognizerFactorySymbol = "glyphsnap_create_recognizer";
inline constexpr const char* kRecognizerEndSymbol = "glyphsnap_end_recognizers";

// A new recognizer for the user's profile languages, owned by the caller; or null, with `failure`
// set to NoRecognizer when there is none for them or to RecognizerNotStarted when it did not start.
using CreateRecognizerFunction = TextRecognizer* (*)(RecognitionFailure* failure);
// Ends what the module keeps between requests; called before the process ends.
using EndRecognizersFunction = void (*)();

}  // namespace glyphsnap
