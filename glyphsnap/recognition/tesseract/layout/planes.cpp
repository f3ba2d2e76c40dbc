#include "glyphsnap/recognition/tesseract/layout/planes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {

GreyPlane GreyPlaneOf(const BgraBitmap& bitmap) {
    GreyPlane plane{bitmap.width, bitmap.height,
                    std::vector<std::uint8_t>(bitmap.pixels.size() / 4)};
    for (std::size_t i = 0; i < plane.levels.size(); ++i) {
        plane.levels[i] = bitmap.pixels[i * 4];
    }
    return plane;
}

GreyPlane HalvedPlane(const GreyPlane& plane) {
    GreyPlane half{plane.width / 2, plane.height / 2, {}};
    half.levels.resize(std::size_t{half.width} * half.height);
    for (std::uint32_t y = 0; y < half.height; ++y) {
        const std::uint8_t* top = plane.levels.data() + std::size_t{2} * y * plane.width;
        const std::uint8_t* bottom = top + plane.width;
        for (std::size_t x = 0; x < half.width; ++x) {
            const unsigned sum = top[2 * x] + top[2 * x + 1] + bottom[2 * x] + bottom[2 * x + 1];
            half.levels[std::size_t{y} * half.width + x] = static_cast<std::uint8_t>((sum + 2) / 4);
        }
    }
    return half;
}

bool WithinAFrameStroke(std::int64_t a, std::int64_t b) {
    return std::abs(a - b) <= std::int64_t{Tuning().thickestFrameStroke};
}

GreyPlane EnlargedPlane(const GreyPlane& plane, float factor) {
    GreyPlane large{static_cast<std::uint32_t>(static_cast<float>(plane.width) * factor),
                    static_cast<std::uint32_t>(static_cast<float>(plane.height) * factor),
                    {}};
    if (plane.width == 0 || plane.height == 0 || large.width == 0 || large.height == 0) {
        return GreyPlane{};
    }
    large.levels.resize(std::size_t{large.width} * large.height);
    // Per column: the two source columns and the weight of the right one, in 1/256.
    std::vector<std::uint32_t> left(large.width);
    std::vector<std::uint32_t> weight(large.width);
    const float step = static_cast<float>(plane.width) / static_cast<float>(large.width);
    for (std::uint32_t x = 0; x < large.width; ++x) {
        const float source = std::clamp((static_cast<float>(x) + 0.5F) * step - 0.5F, 0.0F,
                                        static_cast<float>(plane.width - 1));
        left[x] = std::min(static_cast<std::uint32_t>(source), plane.width - 1);
        weight[x] = static_cast<std::uint32_t>((source - static_cast<float>(left[x])) * 256.0F);
    }
    const float rowStep = static_cast<float>(plane.height) / static_cast<float>(large.height);
    for (std::uint32_t y = 0; y < large.height; ++y) {
        const float source = std::clamp((static_cast<float>(y) + 0.5F) * rowStep - 0.5F, 0.0F,
                                        static_cast<float>(plane.height - 1));
        const auto top = std::min(static_cast<std::uint32_t>(source), plane.height - 1);
        const auto bottom = std::min(top + 1, plane.height - 1);
        const auto down = static_cast<std::uint32_t>((source - static_cast<float>(top)) * 256.0F);
        const std::uint8_t* upper = plane.levels.data() + std::size_t{top} * plane.width;
        const std::uint8_t* lower = plane.levels.data() + std::size_t{bottom} * plane.width;
        std::uint8_t* out = large.levels.data() + std::size_t{y} * large.width;
        for (std::uint32_t x = 0; x < large.width; ++x) {
            const std::uint32_t l = left[x];
            const std::uint32_t r = std::min(l + 1, plane.width - 1);
            const std::uint32_t a = upper[l] * (256 - weight[x]) + upper[r] * weight[x];
            const std::uint32_t b = lower[l] * (256 - weight[x]) + lower[r] * weight[x];
            out[x] = static_cast<std::uint8_t>((a * (256 - down) + b * down + 32768) >> 16);
        }
    }
    return large;
}

std::uint8_t CommonestLevel(const GreyPlane& plane) {
    return CommonestLevelIn(plane, 0, 0, plane.width, plane.height);
}

std::uint8_t CommonestLevelIn(const GreyPlane& plane, std::uint32_t left, std::uint32_t top,
                              std::uint32_t right, std::uint32_t bottom) {
    // Four counts a level, each pixel of four in turn counted in its own: a page of one
    // background counts into one level pixel after pixel, and each count would wait for the one
    // before it.
    std::array<std::array<std::size_t, 256>, 4> counts{};
    for (std::uint32_t y = top; y < bottom; ++y) {
        const std::uint8_t* row = plane.levels.data() + std::size_t{y} * plane.width;
        std::uint32_t x = left;
        for (; x + 4 <= right; x += 4) {
            ++counts[0][row[x]];
            ++counts[1][row[x + 1]];
            ++counts[2][row[x + 2]];
            ++counts[3][row[x + 3]];
        }
        for (; x < right; ++x) {
            ++counts[0][row[x]];
        }
    }
    std::array<std::size_t, 256> total{};
    for (std::size_t level = 0; level < total.size(); ++level) {
        total[level] = counts[0][level] + counts[1][level] + counts[2][level] + counts[3][level];
    }
    return static_cast<std::uint8_t>(std::max_element(total.begin(), total.end()) - total.begin());
}

std::vector<std::uint8_t> InkOf(const GreyPlane& plane, int leastDifference) {
    return InkOf(plane, CommonestLevel(plane), leastDifference);
}

std::vector<std::uint8_t> InkOf(const GreyPlane& plane, std::uint8_t background,
                                int leastDifference) {
    std::vector<std::uint8_t> ink(plane.levels.size());
    for (std::size_t i = 0; i < ink.size(); ++i) {
        ink[i] = std::abs(int{plane.levels[i]} - background) > leastDifference ? 1 : 0;
    }
    return ink;
}

namespace {

// The pixels of one direction: `lines` lines of `length` steps each.
struct Axis {
    std::uint32_t lines = 0;
    std::uint32_t length = 0;
    std::uint32_t width = 0;  // of the plane
    bool across = true;
    std::size_t At(std::uint32_t line, std::uint32_t step) const {
        return across ? std::size_t{line} * width + step : std::size_t{step} * width + line;
    }
};

// Calls `step(line, step)` for every step of every line of `axis`, and `step(line, length)` after
// each line's last step, in the order of the plane's rows: a line down a column is walked a step
// of every column at a time, since a walk down one column at a time misses the cache at every
// step. Each line's walk sees its own steps in order.
template <typename Step>
void WalkLines(const Axis& axis, Step step) {
    if (axis.across) {
        for (std::uint32_t line = 0; line < axis.lines; ++line) {
            for (std::uint32_t at = 0; at <= axis.length; ++at) {
                step(line, at);
            }
        }
        return;
    }
    for (std::uint32_t at = 0; at <= axis.length; ++at) {
        for (std::uint32_t line = 0; line < axis.lines; ++line) {
            step(line, at);
        }
    }
}

// Marks in `strokes` the thin straight strokes along `axis` at least `shortest` long. A pixel is
// thin when the ink across it (along `crosswise`) is at most the thickest frame stroke wide with
// the frame clearance of background either side. A stroke passes through up to that many pixels of
// a stroke across it at least `shortestCrosswise` long: where a table's borders cross, neither
// is thin; the strokes of a glyph that cross each other are short.
void MarkStrokes(const std::vector<std::uint8_t>& ink, std::vector<std::uint8_t>& strokes,
                 const Axis& axis, const Axis& crosswise, std::uint32_t shortest,
                 std::uint32_t shortestCrosswise, std::uint32_t clearance,
                 const std::vector<std::uint8_t>* anchors = nullptr) {
    const std::uint32_t thickest = Tuning().thickestFrameStroke;
    const std::uint32_t longestGap = Tuning().longestDottedGap;
    std::vector<std::uint8_t> thin(ink.size());
    std::vector<std::uint8_t> crossing(ink.size());
    {
        // Per crosswise line: the start of the run under way, and one past the run before.
        std::vector<std::uint32_t> start(crosswise.lines, 0);
        std::vector<std::optional<std::uint32_t>> previousEnd(crosswise.lines);
        // The run that ends at `step` on `line`, seen from the ink beside it.
        const auto endRun = [&](std::uint32_t line, std::uint32_t step) {
            const std::uint32_t first = start[line];
            std::uint32_t next = step;  // the start of the next run, or a clearance away
            while (next < crosswise.length && next < step + clearance &&
                   ink[crosswise.At(line, next)] == 0) {
                ++next;
            }
            const std::optional<std::uint32_t> before = previousEnd[line];
            const bool clear = (!before || first - *before >= clearance) &&
                               (next == crosswise.length || next - step >= clearance);
            const bool isThin = clear && step - first <= thickest;
            for (std::uint32_t back = first; back < step; ++back) {
                thin[crosswise.At(line, back)] = isThin ? 1 : 0;
                crossing[crosswise.At(line, back)] = step - first >= shortestCrosswise ? 1 : 0;
            }
            previousEnd[line] = step;
        };
        WalkLines(crosswise, [&](std::uint32_t line, std::uint32_t step) {
            if (step < crosswise.length && ink[crosswise.At(line, step)] != 0) {
                return;
            }
            if (step > start[line]) {
                endRun(line, step);
            }
            start[line] = step + 1;
        });
    }
    // Per line along the axis: the start of the stroke under way, one past its last thin pixel,
    // and whether one is under way.
    std::vector<std::uint32_t> start(axis.lines, 0);
    std::vector<std::uint32_t> lastThin(axis.lines, 0);
    std::vector<std::uint8_t> open(axis.lines, 0);
    // With anchors, a stroke counts only when both its ends meet one of them.
    const auto anchored = [&](std::uint32_t line, std::int64_t end) {
        for (std::int64_t side = -1; side <= 1; ++side) {
            for (std::int64_t along = end - 1; along <= end + 1; ++along) {
                const std::int64_t other = std::int64_t{line} + side;
                if (other >= 0 && other < axis.lines && along >= 0 && along < axis.length &&
                    (*anchors)[axis.At(static_cast<std::uint32_t>(other),
                                       static_cast<std::uint32_t>(along))] != 0) {
                    return true;
                }
            }
        }
        return false;
    };
    const auto close = [&](std::uint32_t line) {
        if (open[line] == 0) {
            return;
        }
        if (lastThin[line] - start[line] >= shortest &&
            (anchors == nullptr ||
             (anchored(line, std::int64_t{start[line]} - 1) && anchored(line, lastThin[line])))) {
            for (std::uint32_t back = start[line]; back < lastThin[line]; ++back) {
                strokes[axis.At(line, back)] = 1;
            }
        }
        open[line] = 0;
    };
    // The step of a stroke under way or of a thin pixel.
    const auto follow = [&](std::uint32_t line, std::uint32_t step, std::size_t at) {
        if (thin[at] != 0) {
            if (open[line] == 0) {
                start[line] = step;
                open[line] = 1;
            }
            lastThin[line] = step + 1;
        } else if (ink[at] == 0 ? step - lastThin[line] >= longestGap
                                : crossing[at] == 0 || step - lastThin[line] >= thickest) {
            close(line);
        }
    };
    WalkLines(axis, [&](std::uint32_t line, std::uint32_t step) {
        if (step == axis.length) {
            close(line);
            return;
        }
        const std::size_t at = axis.At(line, step);
        if (thin[at] != 0 || open[line] != 0) {
            follow(line, step, at);
        }
    });
}

// Marks in `strokes` the stub of a group box's top side left of its title: a thin line across
// that starts at the top of a side marked as a stroke down (a rounded corner between them), runs
// right to the title, shorter than a frame line, and has a line across marked on its row right of
// the title. The engine reads it as a dash before the title.
void MarkTitleStubs(const std::vector<std::uint8_t>& ink, const std::vector<std::uint8_t>& across,
                    std::vector<std::uint8_t>& strokes, std::uint32_t w, std::uint32_t h,
                    std::uint32_t longest) {
    const auto at = [w](std::uint32_t x, std::uint32_t y) { return std::size_t{y} * w + x; };
    const auto isDown = [&](std::uint32_t x, std::uint32_t y) {
        return strokes[at(x, y)] != 0 && across[at(x, y)] == 0;
    };
    // A pixel of a line across one pixel thick: ink with none right above or below it.
    const auto isThin = [&](std::uint32_t x, std::uint32_t y) {
        return ink[at(x, y)] != 0 && (y == 0 || ink[at(x, y - 1)] == 0) &&
               (y + 1 == h || ink[at(x, y + 1)] == 0);
    };
    const std::uint32_t corner = Tuning().roundedCornerReach;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> tops;
    for (std::uint32_t y = 1; y < h; ++y) {
        for (std::uint32_t x = 0; x + 1 < w; ++x) {
            if (isDown(x, y) && !isDown(x, y - 1)) {
                tops.emplace_back(x, y);
            }
        }
    }
    for (const auto& [x, y] : tops) {
        for (std::uint32_t row = y >= corner ? y - corner : 0; row <= y; ++row) {
            std::uint32_t start = x + 1;
            while (start <= x + corner && start < w && !isThin(start, row)) {
                ++start;
            }
            std::uint32_t end = start;
            while (end < w && isThin(end, row) && strokes[at(end, row)] == 0) {
                ++end;
            }
            // The box's top side goes on right of the title, a line across on the stub's row.
            std::uint32_t past = end;
            while (past < w && across[at(past, row)] == 0) {
                ++past;
            }
            if (end - start < 2 || end - start >= longest || past == w) {
                continue;
            }
            for (std::uint32_t cy = row; cy < y; ++cy) {  // the corner between side and stub
                for (std::uint32_t cx = x; cx < start; ++cx) {
                    strokes[at(cx, cy)] = ink[at(cx, cy)];
                }
            }
            for (std::uint32_t cx = start; cx < end; ++cx) {
                strokes[at(cx, row)] = 1;
            }
            break;
        }
    }
}

// One run of a column marked as a stroke down: column `x`, rows [top, bottom).
struct SideRun {
    std::uint32_t x = 0;
    std::uint32_t top = 0;
    std::uint32_t bottom = 0;
};

std::vector<SideRun> RunsDown(const std::vector<std::uint8_t>& marks, std::uint32_t w,
                              std::uint32_t h) {
    std::vector<SideRun> runs;
    for (std::uint32_t x = 0; x < w; ++x) {
        for (std::uint32_t y = 0; y < h; ++y) {
            if (marks[std::size_t{y} * w + x] == 0) {
                continue;
            }
            SideRun run{x, y, y};
            while (run.bottom < h && marks[std::size_t{run.bottom} * w + x] != 0) {
                ++run.bottom;
            }
            runs.push_back(run);
            y = run.bottom;
        }
    }
    return runs;
}

// Marks in `strokes` the sides of cells and boxes among `candidates`, thin strokes down whose ends
// both meet a line across: those at least `shortestDown` long (the borders of neighbouring cells
// drawn as border="1" draws them, with less clearance than a frame's), and shorter ones (the sides
// of buttons and input boxes) that have a partner with the same ends, the lines across at their
// ends joining the two past their rounded corners. A short side standing alone stays: an input
// box's other side may be too close to its caret to be thin, and taking one side of a box out
// leaves the other to be read as a bracket.
void MarkBoxSides(const std::vector<std::uint8_t>& candidates,
                  const std::vector<std::uint8_t>& across, std::vector<std::uint8_t>& strokes,
                  std::uint32_t w, std::uint32_t h, std::uint32_t shortestDown) {
    const std::uint32_t corner = Tuning().roundedCornerReach;
    const auto joined = [&](std::uint32_t left, std::uint32_t right, std::uint32_t firstRow,
                            std::uint32_t lastRow) {
        for (std::uint32_t x = left + corner; x + corner < right; ++x) {
            bool met = false;
            for (std::uint32_t y = firstRow; y <= lastRow && y < h && !met; ++y) {
                met = across[std::size_t{y} * w + x] != 0;
            }
            if (!met) {
                return false;
            }
        }
        return left + 2 * corner < right;
    };
    const auto near = [](std::uint32_t a, std::uint32_t b) { return a <= b + 1 && b <= a + 1; };
    const std::vector<SideRun> runs = RunsDown(candidates, w, h);
    std::vector<std::uint8_t> paired(runs.size(), 0);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const SideRun& left = runs[i];
        const bool longSide = left.bottom - left.top >= shortestDown;
        paired[i] = paired[i] != 0 || longSide ? 1 : 0;
        for (std::size_t k = i + 1; !longSide && k < runs.size(); ++k) {
            const SideRun& right = runs[k];
            if (right.x <= left.x || !near(left.top, right.top) ||
                !near(left.bottom, right.bottom)) {
                continue;
            }
            const std::uint32_t top = std::min(left.top, right.top);
            const std::uint32_t bottom = std::max(left.bottom, right.bottom);
            if (joined(left.x, right.x, top > corner + 1 ? top - corner - 1 : 0, top) &&
                joined(left.x, right.x, bottom > 1 ? bottom - 1 : 0, bottom + corner)) {
                paired[i] = 1;
                paired[k] = 1;
                break;
            }
        }
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
        for (std::uint32_t y = runs[i].top; paired[i] != 0 && y < runs[i].bottom; ++y) {
            strokes[std::size_t{y} * w + runs[i].x] = 1;
        }
    }
}

}  // namespace

bool RemoveFrameLines(GreyPlane& plane, std::uint32_t shortestAcross, std::uint32_t shortestDown) {
    const std::uint32_t w = plane.width;
    const std::uint32_t h = plane.height;
    if (w == 0 || h == 0) {
        return false;
    }
    const std::uint8_t background = CommonestLevel(plane);
    const std::vector<std::uint8_t> ink = InkOf(plane, background, Tuning().frameInkDifference);
    const Axis rows{h, w, w, true};
    const Axis columns{w, h, w, false};
    std::vector<std::uint8_t> strokes(ink.size(), 0);
    MarkStrokes(ink, strokes, rows, columns, shortestAcross, shortestDown, Tuning().frameClearance);
    const std::vector<std::uint8_t> across = strokes;
    MarkStrokes(ink, strokes, columns, rows, shortestDown, shortestAcross,
                Tuning().frameClearanceDown);
    // Strokes down with less clearance, or shorter, are sides of cells and boxes when both their
    // ends meet a stroke across, and a title's stub runs on to one: a page without a stroke
    // across (plain text, a label) has neither.
    if (std::find(across.begin(), across.end(), std::uint8_t{1}) != across.end()) {
        std::vector<std::uint8_t> sides(ink.size(), 0);
        MarkStrokes(ink, sides, columns, rows, Tuning().thinnestText, shortestAcross,
                    Tuning().frameClearance, &across);
        MarkBoxSides(sides, across, strokes, w, h, shortestDown);
        MarkTitleStubs(ink, across, strokes, w, h, shortestAcross);
    }
    bool changed = false;
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        if (strokes[i] != 0) {
            changed = changed || plane.levels[i] != background;
            plane.levels[i] = background;
        }
    }
    return changed;
}

}  // namespace glyphsnap
