// The Tesseract recognizer as a module of its own. Tesseract brings some forty shared libraries
// with it; loaded at the first recognition request, they cost nothing to edit requests and to
// start-up.
#include <cstdlib>

#include "recognition_tesseract_engine.h"
#include "recognizer_module.h"

extern "C" __attribute__((visibility("default"))) glyphsnap::TextRecognizer*
glyphsnap_create_recognizer() {
    return glyphsnap::CreateTesseractRecognizer([](const char* name) { return std::getenv(name); })
        .release();
}
