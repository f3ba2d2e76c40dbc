// Text recognition with Tesseract for the languages of the user's profile.
#pragma once

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

// The recognizer for the profile languages `environment` names, or null when no trained data
// for them (English included) is installed or the engine does not start. The tessdata folder is
// TESSDATA_PREFIX when set. A reused engine serves one recognizer at a time.
std::unique_ptr<TextRecognizer> CreateTesseractRecognizer(const EnvironmentReader& environment,
                                                          EngineUse use = EngineUse::Reused);

}  // namespace glyphsnap
