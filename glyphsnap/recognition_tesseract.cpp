// The Linux build's recognition: the request's image goes through decoding, scaling and
// enhancement to Tesseract on a worker thread, and the loop waits for the result.
#include <cstdlib>
#include <utility>

#include "image_pipeline.h"
#include "recognition.h"
#include "recognition_tesseract_engine.h"

namespace glyphsnap {

std::future<RecognitionOutcome> RecognizeTextAsync(std::string image) {
    return std::async(std::launch::async, [image = std::move(image)] {
        return RecognizeImageText(image, [] {
            return CreateTesseractRecognizer([](const char* name) { return std::getenv(name); });
        });
    });
}

}  // namespace glyphsnap
