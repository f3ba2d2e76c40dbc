// The pass that reads doubtful Latin words again with the Chinese model alone.
#pragma once

#include <vector>

#include "glyphsnap/recognition/tesseract/engine_cache.h"
#include "glyphsnap/recognition/tesseract/planes.h"
#include "glyphsnap/recognition/tesseract/reading_policy.h"
#include "glyphsnap/recognition/tesseract/recognition_deadline.h"
#include "glyphsnap/recognition/tesseract/words.h"

namespace glyphsnap {

// In a Chinese profile, each run of doubtful words without an ideograph is read again by
// the Chinese model alone, as a crop, and that reading replaces them when it is more
// confident: the mixed model reads short Chinese labels, and Chinese beside a checkbox, as
// Latin letters.
void ReadDoubtfulWordsAgain(EngineSet& engines, const GreyPlane& plane,
                            std::vector<ReadLine>& lines, SecondReadingBudget& budget,
                            RecognitionDeadline& deadline);

}  // namespace glyphsnap
