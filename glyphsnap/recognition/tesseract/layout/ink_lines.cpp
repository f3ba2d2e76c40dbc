#include "glyphsnap/recognition/tesseract/layout/ink_lines.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {
namespace {

// The plane's ink, one byte a pixel, with its strokes down longer than `longestStroke` taken
// out, and told in `removed` when it is given.
std::vector<std::uint8_t> InkWithoutLongStrokes(const GreyPlane& plane, std::uint32_t longestStroke,
                                                StrokesDown* removed) {
    const std::uint32_t w = plane.width;
    const std::uint32_t h = plane.height;
    std::vector<std::uint8_t> ink = InkOf(plane, Tuning().inkDifference);
    if (removed != nullptr) {
        removed->framedRows.assign(h, 0);
        removed->longest = 0;
    }
    const auto at = [w](std::uint32_t x, std::uint32_t y) { return std::size_t{y} * w + x; };
    // Row after row, one run down each column under way: a walk down one column at a time
    // misses the cache at every step.
    std::vector<std::uint32_t> runs(w, 0);
    for (std::uint32_t y = 0; y <= h; ++y) {
        for (std::uint32_t x = 0; x < w; ++x) {
            std::uint32_t& run = runs[x];
            if (y < h && ink[at(x, y)] != 0) {
                ++run;
                continue;
            }
            if (run > longestStroke) {
                for (std::uint32_t back = y - run; back < y; ++back) {
                    ink[at(x, back)] = 0;
                }
                if (removed != nullptr) {
                    std::fill_n(removed->framedRows.begin() + (y - run), run, 1);
                    removed->longest = std::max(removed->longest, run);
                }
            }
            run = 0;
        }
    }
    return ink;
}

// True when the middle of a piece, away from its ends, holds ink in fewer rows than text has:
// the edge of a box whose rounded corners or shadow reach down at its two ends.
bool IsThinInTheMiddle(const std::vector<std::uint8_t>& ink, std::uint32_t w, const WordBox& box) {
    const int width = box.right - box.left;
    const int end = std::min(Tuning().pieceEnd.Of(width), width / 2);
    std::uint32_t rowsWithInk = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        const auto row = ink.begin() + static_cast<std::ptrdiff_t>(std::size_t(y) * w);
        rowsWithInk +=
            std::find(row + box.left + end, row + box.right - end, 1) != row + box.right - end;
    }
    return rowsWithInk < Tuning().thinnestText;
}

}  // namespace

std::vector<WordBox> InkLinesOf(const GreyPlane& plane, std::uint32_t longestStroke,
                                StrokesDown* removed) {
    const std::uint32_t w = plane.width;
    const std::uint32_t h = plane.height;
    std::vector<WordBox> lines;
    if (w == 0 || h == 0) {
        return lines;
    }
    const std::vector<std::uint8_t> ink = InkWithoutLongStrokes(plane, longestStroke, removed);
    const auto at = [w](std::uint32_t x, std::uint32_t y) { return std::size_t{y} * w + x; };
    std::vector<std::uint8_t> rowInk(h);
    for (std::uint32_t y = 0; y < h; ++y) {
        const auto row = ink.begin() + static_cast<std::ptrdiff_t>(at(0, y));
        rowInk[y] = std::find(row, row + w, 1) != row + w ? 1 : 0;
    }
    std::vector<std::uint8_t> columnInk(w);
    for (std::uint32_t top = 0; top < h;) {
        if (rowInk[top] == 0) {
            ++top;
            continue;
        }
        std::uint32_t bottom = top;
        while (bottom < h && rowInk[bottom] != 0) {
            ++bottom;
        }
        const std::uint32_t height = bottom - top;
        if (height >= Tuning().thinnestText) {
            std::fill(columnInk.begin(), columnInk.end(), 0);
            for (std::uint32_t y = top; y < bottom; ++y) {
                for (std::uint32_t x = 0; x < w; ++x) {
                    columnInk[x] |= ink[at(x, y)];
                }
            }
            const std::uint32_t widestGap = Tuning().widestGapInLines * height;
            std::uint32_t x = 0;
            while (x < w) {
                while (x < w && columnInk[x] == 0) {
                    ++x;
                }
                if (x == w) {
                    break;
                }
                const std::uint32_t left = x;
                std::uint32_t right = x;  // one past the last column with ink
                while (x < w && x - right <= widestGap) {
                    if (columnInk[x] != 0) {
                        right = x + 1;
                    }
                    ++x;
                }
                x = right;
                WordBox box{static_cast<int>(left), static_cast<int>(bottom),
                            static_cast<int>(right), static_cast<int>(top)};
                for (std::uint32_t y = top; y < bottom; ++y) {
                    const auto row = ink.begin() + static_cast<std::ptrdiff_t>(at(left, y));
                    if (std::find(row, row + (right - left), 1) != row + (right - left)) {
                        box.top = std::min(box.top, static_cast<int>(y));
                        box.bottom = std::max(box.bottom, static_cast<int>(y) + 1);
                    }
                }
                if (box.bottom - box.top >= static_cast<int>(Tuning().thinnestText) &&
                    !IsThinInTheMiddle(ink, w, box)) {
                    lines.push_back(box);
                }
            }
        }
        top = bottom;
    }
    return lines;
}

bool HoldsStrokeAcross(const GreyPlane& plane, const std::vector<WordBox>& pieces,
                       std::uint32_t longestStroke) {
    const int background = CommonestLevel(plane);
    const int least = Tuning().inkDifference;
    for (const WordBox& piece : pieces) {
        const int left = std::max(0, piece.left);
        const int right = std::min(piece.right, static_cast<int>(plane.width));
        for (int y = std::max(0, piece.top);
             y < std::min(piece.bottom, static_cast<int>(plane.height)); ++y) {
            const std::uint8_t* row = plane.levels.data() + std::size_t(y) * plane.width;
            std::uint32_t run = 0;
            for (int x = left; x < right; ++x) {
                run = std::abs(int{row[x]} - background) > least ? run + 1 : 0;
                if (run > longestStroke) {
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace glyphsnap
