// Text recognition with Tesseract for the languages of the user's profile.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "image_pipeline.h"
#include "languages.h"

namespace glyphsnap {

// The largest side handed to Tesseract. It refuses sides above 32767; 10000 is the limit of the
// Windows engine as well, so both builds scale the same images the same way, and a bitmap that
// passes the limit by the tolerated 1 % stays far below Tesseract's own.
inline constexpr std::uint32_t kTesseractMaxImageDimension = 10000;

enum class EngineUse {
    Reused,  // the engine initialised for the same languages before, cleared after each use
    Fresh,   // a new engine, loaded for this recognizer alone
};

// The longest one recognition may take before the engine is stopped and the request answered
// with RecognitionTimedOut. On this project's two-core reference machine, with one thread, a
// 1280 x 720 page of 20 lines takes 1.7 s, a full-screen 1920 x 1080 page of dense small text
// 10 s and a 3840 x 2160 one 40 s, while a 4000 x 4000 page of dense text takes about a minute
// and larger ones several. Thirty seconds leave three times the time of the densest full-screen
// page of an ordinary display and cut only pages beyond any screenshot.
inline constexpr std::chrono::milliseconds kRecognitionTimeLimit{30'000};

// The recognizer for the profile languages `environment` names; null when no trained data for
// them (English included) is installed; RecognizerNotStarted when the engine does not start. The
// tessdata folder is TESSDATA_PREFIX when set. A reused engine serves one recognizer at a time.
// Each recognition stops at `timeLimit`.
RecognizerOrError CreateTesseractRecognizer(
    const EnvironmentReader& environment, EngineUse use = EngineUse::Reused,
    std::chrono::milliseconds timeLimit = kRecognitionTimeLimit);

// Ends the engine kept between requests. Tesseract frees some of its own data when the process
// ends, so the engine must end before that, by this call; afterwards a new one can be started.
void EndTesseractEngines();

}  // namespace glyphsnap
