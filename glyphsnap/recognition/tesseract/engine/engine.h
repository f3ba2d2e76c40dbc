// Text recognition with Tesseract for the languages of the user's profile.
#pragma once

#include <chrono>
#include <memory>

#include "glyphsnap/recognition/image/pipeline.h"
#include "glyphsnap/recognition/recognition.h"
#include "glyphsnap/recognition/tesseract/engine/languages.h"

namespace glyphsnap {

enum class EngineUse {
    Reused,  // the engine initialised for the same languages before, cleared after each use
    Fresh,   // a new engine, loaded for this recognizer alone
};

// The recognizer for the profile languages `environment` names; null when no trained data for
// them (English included) is installed; RecognizerNotStarted when the engine does not start. The
// tessdata folder is TESSDATA_PREFIX when set. A reused engine serves one recognizer at a time.
// Each recognition stops at `timeLimit` and answers RecognitionTimedOut.
RecognizerOrError CreateTesseractRecognizer(
    const EnvironmentReader& environment, EngineUse use = EngineUse::Reused,
    std::chrono::milliseconds timeLimit = kRecognitionTimeLimit);

// Ends the engine kept between requests. Tesseract frees some of its own data when the process
// ends, so the engine must end before that, by this call; afterwards a new one can be started.
void EndTesseractEngines();

}  // namespace glyphsnap
