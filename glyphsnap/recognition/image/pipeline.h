// The steps of a recognition request, from the "image" text to the recognised text, with the
// recognizer behind an interface so that the engine can be put in from outside.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "glyphsnap/recognition/image/bitmap.h"
#include "glyphsnap/recognition/recognition.h"
#include "glyphsnap/recognition/text_lines.h"

namespace glyphsnap {

// A text recognizer for one set of languages.
class TextRecognizer {
  public:
    virtual ~TextRecognizer() = default;
    // The largest width or height the recognizer accepts.
    virtual std::uint32_t MaxImageDimension() const = 0;
    // The lines of the bitmap, each with its words, in reading order, or why there are none
    // (RecognitionFailed, RecognitionTimedOut). A bitmap may have a zero side.
    virtual std::variant<std::vector<OcrLine>, RecognitionFailure> Recognize(
        const BgraBitmap& bitmap) = 0;
};

// The recognizer for the user's languages, null when there is none for them, or why none could
// be had this time.
using RecognizerOrError = std::variant<std::unique_ptr<TextRecognizer>, RecognitionError>;
using RecognizerFactory = std::function<RecognizerOrError()>;

// Decodes the Base64 image behind an optional data-URL header, scales it for the recognizer,
// enhances it and recognises its text. Each step that fails ends the request with its failure.
RecognitionOutcome RecognizeImageText(std::string_view image,
                                      const RecognizerFactory& createRecognizer);

}  // namespace glyphsnap
