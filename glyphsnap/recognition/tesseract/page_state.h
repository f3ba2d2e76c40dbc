// The state of one page that the recognizer's passes read and add to.
#pragma once

#include <cstdint>
#include <vector>

#include "glyphsnap/recognition/tesseract/engine_cache.h"
#include "glyphsnap/recognition/tesseract/page_regions.h"
#include "glyphsnap/recognition/tesseract/planes.h"
#include "glyphsnap/recognition/tesseract/reading_policy.h"
#include "glyphsnap/recognition/tesseract/recognition_deadline.h"
#include "glyphsnap/recognition/tesseract/words.h"

namespace glyphsnap {

// The engines one request reads with, the threads they may use and the deadline that stops them.
struct Readers {
    EngineSet& engines;
    ThreadUse threads;
    RecognitionDeadline& deadline;
};

// One page: the plane as read, what is known of its layout, and the lines read so far. Each pass
// reads it and adds to it, in the order the recognizer lists them.
struct PageState {
    Readers readers;
    // The page as the engines read it: grey, frames and rules taken out, enlarged.
    GreyPlane plane;
    // The pieces of text lines of the ink, in page order.
    std::vector<WordBox> inkLines{};
    // The row at which the page is cut between the two engines' bands; 0 for one engine.
    std::uint32_t cut = 0;
    // The lines read so far, with the mean word confidence of the reading they stand for.
    Reading reading{};
    // What the second readings may still read.
    SecondReadingBudget budget{0, 0};
};

}  // namespace glyphsnap
