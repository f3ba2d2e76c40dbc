#include "glyphsnap/recognition/tesseract/layout/page_regions.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>

#include "glyphsnap/recognition/tesseract/layout/reading_policy.h"
#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {

GreyPlane Rows(const GreyPlane& plane, std::uint32_t top, std::uint32_t bottom) {
    GreyPlane band{plane.width, bottom - top, {}};
    band.levels.assign(plane.levels.begin() + std::ptrdiff_t{top} * plane.width,
                       plane.levels.begin() + std::ptrdiff_t{bottom} * plane.width);
    return band;
}

GreyPlane PartOf(const GreyPlane& plane, const WordBox& box) {
    const auto width = static_cast<std::uint32_t>(box.right - box.left);
    GreyPlane part{width, static_cast<std::uint32_t>(box.bottom - box.top), {}};
    part.levels.reserve(std::size_t{part.width} * part.height);
    for (int row = box.top; row < box.bottom; ++row) {
        const auto start =
            plane.levels.begin() +
            static_cast<std::ptrdiff_t>(std::size_t{plane.width} * static_cast<std::size_t>(row) +
                                        static_cast<std::size_t>(box.left));
        part.levels.insert(part.levels.end(), start, start + width);
    }
    return part;
}

void MoveDown(std::vector<ReadLine>& lines, int rows) {
    for (ReadLine& line : lines) {
        for (ReadWord& word : line) {
            word.box.top += rows;
            word.box.bottom += rows;
        }
    }
}

Reading Joined(Reading upper, Reading lower, int cut) {
    std::size_t upperWords = 0;
    std::size_t lowerWords = 0;
    for (const ReadLine& line : upper.lines) {
        upperWords += line.size();
    }
    for (const ReadLine& line : lower.lines) {
        lowerWords += line.size();
    }
    MoveDown(lower.lines, cut);
    Reading page;
    const std::size_t words = upperWords + lowerWords;
    page.confidence =
        words == 0 ? 0
                   : static_cast<int>(
                         (upper.confidence * upperWords + lower.confidence * lowerWords) / words);
    page.lines = std::move(upper.lines);
    std::move(lower.lines.begin(), lower.lines.end(), std::back_inserter(page.lines));
    return page;
}

WordBox CropOf(const WordBox& box, const GreyPlane& plane) {
    return {std::max(0, box.left - Tuning().cropMargin), std::max(0, box.top - Tuning().cropMargin),
            std::min(static_cast<int>(plane.width), box.right + Tuning().cropMargin),
            std::min(static_cast<int>(plane.height), box.bottom + Tuning().cropMargin)};
}

WordBox WithContext(const WordBox& words, const ReadLine& line) {
    const WordBox whole = BoxOf(line);
    // A doubtful word may reach over the line below (one the first reading passed over), which
    // the Chinese model, reading one line, would read as nonsense: a line half as high again as
    // its words not doubted is read in their rows.
    ReadLine sure;
    std::copy_if(line.begin(), line.end(), std::back_inserter(sure),
                 [](const ReadWord& word) { return !IsDoubtedWord(word); });
    const WordBox sureRows = sure.empty() ? whole : BoxOf(sure);
    const bool reachesBelow =
        Tuning().reachingBelow.Over(whole.bottom - whole.top, sureRows.bottom - sureRows.top);
    const WordBox rows = reachesBelow ? sureRows : whole;
    const int reach = rows.bottom - rows.top;
    return {std::max(whole.left, words.left - reach), rows.top,
            std::min(whole.right, words.right + reach), rows.bottom};
}

WordBox WithInkItMeets(WordBox box, const std::vector<WordBox>& inkLines) {
    const int middle = (box.top + box.bottom) / 2;
    for (const WordBox& piece : inkLines) {
        if (piece.top <= middle && middle < piece.bottom &&
            piece.left < box.right + box.bottom - box.top &&
            box.left - (box.bottom - box.top) < piece.right) {
            box = {std::min(box.left, piece.left), std::min(box.top, piece.top),
                   std::max(box.right, piece.right), std::max(box.bottom, piece.bottom)};
        }
    }
    return box;
}

bool IsEmpty(const WordBox& box) {
    return box.right <= box.left || box.bottom <= box.top;
}

void ScaleLines(std::vector<ReadLine>& lines, float factor) {
    for (ReadLine& line : lines) {
        for (ReadWord& word : line) {
            word.box = ScaledBoxes({word.box}, factor).front();
        }
    }
}

}  // namespace glyphsnap
