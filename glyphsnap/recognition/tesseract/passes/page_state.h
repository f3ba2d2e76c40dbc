// The state of one page that the recognizer's passes read and add to.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "glyphsnap/recognition/tesseract/engine/engine_cache.h"
#include "glyphsnap/recognition/tesseract/engine/recognition_deadline.h"
#include "glyphsnap/recognition/tesseract/layout/page_regions.h"
#include "glyphsnap/recognition/tesseract/layout/planes.h"
#include "glyphsnap/recognition/tesseract/layout/reading_policy.h"
#include "glyphsnap/recognition/tesseract/layout/ruled_tables.h"
#include "glyphsnap/recognition/tesseract/layout/words.h"

namespace glyphsnap {

// The engines one request reads with, the threads they may use and the deadline that stops them.
struct Readers {
    EngineSet& engines;
    ThreadUse threads;
    RecognitionDeadline& deadline;
};

// One page: the plane as read, what is known of its layout, and the lines read so far. Each pass
// reads it and adds to it, in the order the recognizer lists them. Every box it holds is in the
// pixels of `plane`, whatever size a pass reads the page at: no pass rescales what others hold.
struct PageState {
    Readers readers;
    // The page as prepared for reading: grey, frames and rules taken out, enlarged.
    GreyPlane plane;
    // The pieces of text lines of the ink, in page order.
    std::vector<WordBox> inkLines{};
    // The rows of the page's ruled tables, each row's cells left to right.
    std::vector<TableRow> tableRows{};
    // The row at which the page is cut between the two engines' bands; 0 for one engine.
    std::uint32_t cut = 0;
    // The lines read so far, with the mean word confidence of the reading they stand for.
    Reading reading{};
    // What the second readings may still read, in pixels as read.
    SecondReadingBudget budget{0, 0};
    // The page at half size, set once a reading of it won over the first: the second readings
    // after it read this plane, each converting the boxes it takes from the state to the half's
    // pixels and its own readings back.
    std::optional<GreyPlane> halved{};
};

// The plane the second readings read: the page, or its half once the page read better halved.
const GreyPlane& ReadingPlane(const PageState& page);

// The page's boxes, a row and lines in the reading plane's pixels.
std::vector<WordBox> AtReadingScale(const PageState& page, const std::vector<WordBox>& boxes);
std::uint32_t AtReadingScale(const PageState& page, std::uint32_t row);
std::vector<ReadLine> AtReadingScale(const PageState& page, std::vector<ReadLine> lines);
std::vector<TableRow> AtReadingScale(const PageState& page, const std::vector<TableRow>& rows);

// Lines read on the reading plane, in the page's pixels.
std::vector<ReadLine> OnPage(const PageState& page, std::vector<ReadLine> lines);

}  // namespace glyphsnap
