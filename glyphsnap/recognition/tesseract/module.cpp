// The Tesseract recognizer as a module of its own. Tesseract brings some forty shared libraries
// with it; loaded at the first recognition request, they cost nothing to edit requests and to
// start-up.
#include <cstdlib>
#include <memory>

#include "glyphsnap/recognition/tesseract/engine/engine.h"
#include "glyphsnap/recognition/tesseract/module.h"

extern "C" __attribute__((visibility("default"))) glyphsnap::TextRecognizer*
glyphsnap_create_recognizer(glyphsnap::RecognitionFailure* failure) {
    glyphsnap::RecognizerOrError created =
        glyphsnap::CreateTesseractRecognizer([](const char* name) { return std::getenv(name); });
    if (auto* error = std::get_if<glyphsnap::RecognitionError>(&created)) {
        *failure = error->failure;
        return nullptr;
    }
    *failure = glyphsnap::RecognitionFailure::NoRecognizer;
    return std::get<std::unique_ptr<glyphsnap::TextRecognizer>>(created).release();
}

extern "C" __attribute__((visibility("default"))) void glyphsnap_end_recognizers() {
    glyphsnap::EndTesseractEngines();
}
