#include "glyphsnap/recognition/tesseract/ink_lines.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>

namespace glyphsnap {
namespace {

// Runs of fewer rows are rules or the edges of boxes, not text.
constexpr std::uint32_t kThinnestText = 4;

}  // namespace

std::vector<WordBox> InkLinesOf(const GreyPlane& plane, std::uint32_t longestStroke) {
    const std::uint32_t w = plane.width;
    const std::uint32_t h = plane.height;
    std::vector<WordBox> lines;
    if (w == 0 || h == 0) {
        return lines;
    }
    const int background = CommonestLevel(plane);
    std::vector<std::uint8_t> ink(plane.levels.size());
    for (std::size_t i = 0; i < ink.size(); ++i) {
        ink[i] = std::abs(int{plane.levels[i]} - background) > kInkDifference ? 1 : 0;
    }
    const auto at = [w](std::uint32_t x, std::uint32_t y) { return std::size_t{y} * w + x; };
    for (std::uint32_t x = 0; x < w; ++x) {
        std::uint32_t run = 0;
        for (std::uint32_t y = 0; y <= h; ++y) {
            if (y < h && ink[at(x, y)] != 0) {
                ++run;
                continue;
            }
            if (run > longestStroke) {
                for (std::uint32_t back = y - run; back < y; ++back) {
                    ink[at(x, back)] = 0;
                }
            }
            run = 0;
        }
    }
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
        if (height >= kThinnestText) {
            std::fill(columnInk.begin(), columnInk.end(), 0);
            for (std::uint32_t y = top; y < bottom; ++y) {
                for (std::uint32_t x = 0; x < w; ++x) {
                    columnInk[x] |= ink[at(x, y)];
                }
            }
            const std::uint32_t widestGap = 2 * height;
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
                if (box.bottom - box.top >= static_cast<int>(kThinnestText)) {
                    lines.push_back(box);
                }
            }
        }
        top = bottom;
    }
    return lines;
}

}  // namespace glyphsnap
