// Ideographs that other readings of a line agree on, in place of a doubtful reading's.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/words.h"

namespace glyphsnap {

// For each character of `a`, the index of the character of `b` that an alignment of the two with
// the fewest edits puts in its place (kept or substituted), or `npos` where `b` leaves it out.
std::vector<std::size_t> AlignedInPlaceOf(std::u16string_view a, std::u16string_view b);

// `line` with each ideograph of a word below `doubtfulBelow` confidence replaced by another
// ideograph when every one of `others` (other readings of the same line, at least one) puts that
// one in its place, in a word more confident than the doubtful one. The model's misreads of a
// small ideograph change with the size the line is read at; the right reading tends to come back.
ReadLine WithIdeographsOthersAgreeOn(ReadLine line, const std::vector<ReadLine>& others,
                                     float doubtfulBelow);

}  // namespace glyphsnap
