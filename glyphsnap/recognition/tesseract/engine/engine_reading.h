// What a plane is handed to the engine as, and what is taken from it after a recognition.
#pragma once

#include <tesseract/baseapi.h>

#include <vector>

#include "glyphsnap/recognition/tesseract/layout/planes.h"
#include "glyphsnap/recognition/tesseract/layout/words.h"

namespace glyphsnap {

// Hands the plane to the engine, one byte a pixel.
void SetPlane(tesseract::TessBaseAPI& engine, const GreyPlane& plane);

// The words of the engine's last recognition, line by line in reading order.
std::vector<ReadLine> RecognisedLines(tesseract::TessBaseAPI& engine);

}  // namespace glyphsnap
