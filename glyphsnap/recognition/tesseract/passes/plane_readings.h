// The engines' readings of a plane: whole, in two bands at once, and crop by crop.
#pragma once

#include <tesseract/baseapi.h>

#include <cstdint>
#include <variant>
#include <vector>

#include "glyphsnap/recognition/recognition.h"
#include "glyphsnap/recognition/tesseract/engine/recognition_deadline.h"
#include "glyphsnap/recognition/tesseract/layout/page_regions.h"
#include "glyphsnap/recognition/tesseract/layout/planes.h"
#include "glyphsnap/recognition/tesseract/layout/words.h"
#include "glyphsnap/recognition/tesseract/passes/page_state.h"

namespace glyphsnap {

// The plane read in `mode` by one engine. Screenshots are rows of text: labels beside their
// fields, table rows, buttons in a row; read as one block, they come out in that order. A reading
// that passes the deadline is dropped whole: its words stop where the engine was stopped.
std::variant<Reading, RecognitionFailure> ReadWhole(tesseract::TessBaseAPI& engine,
                                                    const GreyPlane& plane,
                                                    tesseract::PageSegMode mode,
                                                    RecognitionDeadline& deadline);

// The plane read in `mode`, cut at row `cut` into two bands that two engines read at once; a
// plane without a cut inside it (`cut` 0), or whose second engine does not start, is read whole
// by the main engine. Each band is read as the whole plane is, so the text is the one engine's.
std::variant<Reading, RecognitionFailure> ReadInBands(const Readers& readers,
                                                      const GreyPlane& plane, std::uint32_t cut,
                                                      tesseract::PageSegMode mode);

// The languages crops are read in: the profile's, or its ideographic language alone.
enum class CropLanguages { Profile, IdeographicAlone };

// One reading in `mode` of each crop of `plane`, words in the plane's coordinates; from two crops
// on, two engines of `languages` share them, each taking the largest crop left when it is free.
// A crop the deadline stops, or that no engine of `languages` can read, is left unread.
std::vector<Reading> ReadCrops(const Readers& readers, const GreyPlane& plane,
                               const std::vector<WordBox>& crops, tesseract::PageSegMode mode,
                               CropLanguages languages = CropLanguages::Profile);

}  // namespace glyphsnap
