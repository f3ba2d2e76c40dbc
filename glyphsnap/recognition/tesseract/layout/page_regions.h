// The regions of a page that the recognizer's readings cover: bands of rows, crops around words
// and lines, and the readings of bands joined again.
#pragma once

#include <cstdint>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/planes.h"
#include "glyphsnap/recognition/tesseract/layout/words.h"

namespace glyphsnap {

// One reading of a plane or of a part of it, with its mean word confidence.
struct Reading {
    std::vector<ReadLine> lines;
    int confidence = 0;
};

// The rows [top, bottom) of a plane.
GreyPlane Rows(const GreyPlane& plane, std::uint32_t top, std::uint32_t bottom);

// The pixels of `box`, which lies within `plane`.
GreyPlane PartOf(const GreyPlane& plane, const WordBox& box);

// The words of `lines` moved `rows` down: lines read on a band of a plane, on the plane.
void MoveDown(std::vector<ReadLine>& lines, int rows);

// The readings of two bands, the lower one `cut` rows down, as one reading of the page.
Reading Joined(Reading upper, Reading lower, int cut);

// `box` grown by the crop margin, within the plane; empty when nothing of it is left.
WordBox CropOf(const WordBox& box, const GreyPlane& plane);

// The box of doubtful words widened by a line's height on either side, within the line: the
// Chinese model reads a word better with its neighbours' edges than alone.
WordBox WithContext(const WordBox& words, const ReadLine& line);

// A doubtful line's box with the pieces of ink lines in its row that reach within a line's
// height of it: what the engine read as a mark may be the edge of a button whose neighbour it
// passed over.
WordBox WithInkItMeets(WordBox box, const std::vector<WordBox>& inkLines);

bool IsEmpty(const WordBox& box);

// The lines moved to a plane `factor` times the size.
void ScaleLines(std::vector<ReadLine>& lines, float factor);

}  // namespace glyphsnap
