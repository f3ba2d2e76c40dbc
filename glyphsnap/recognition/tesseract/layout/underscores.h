// Underscores the engine read as spaces: `FILE_SET` of a code block comes back as `FILE SET`.
#pragma once

#include <vector>

#include "glyphsnap/recognition/tesseract/layout/planes.h"
#include "glyphsnap/recognition/tesseract/layout/words.h"

namespace glyphsnap {

// True when the gap between `before` and `after`, two words side by side in one row of `plane`,
// holds an underscore: a thin stroke across the gap at the foot of the words, with nothing above
// or just below it in the gap, that runs at most a little under the words on either side. The
// line of an underlined link runs on under its words and is no underscore; the top bar of a
// letter of the line below has its stem below it.
bool HoldsUnderscore(const GreyPlane& plane, const WordBox& before, const WordBox& after);

// `lines` (boxes in the pixels of `plane`) with each two neighbouring words whose gap holds an
// underscore joined into one word, `_` between them, as confident as the less confident of the
// two.
std::vector<ReadLine> WithUnderscoresInGaps(std::vector<ReadLine> lines, const GreyPlane& plane);

}  // namespace glyphsnap
