#include "glyphsnap/recognition/tesseract/planes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

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

namespace {

// How far beyond a thin stroke the background must show again.
constexpr std::uint32_t kStrokeReach = 3;

}  // namespace

std::uint8_t CommonestLevel(const GreyPlane& plane) {
    std::array<std::size_t, 256> counts{};
    for (const std::uint8_t level : plane.levels) {
        ++counts[level];
    }
    return static_cast<std::uint8_t>(std::max_element(counts.begin(), counts.end()) -
                                     counts.begin());
}

bool RemoveFrameLines(GreyPlane& plane, std::uint32_t shortestAcross, std::uint32_t shortestDown) {
    const std::uint32_t w = plane.width;
    const std::uint32_t h = plane.height;
    if (w <= 2 * kStrokeReach || h <= 2 * kStrokeReach) {
        return false;
    }
    const std::uint8_t background = CommonestLevel(plane);
    std::vector<std::uint8_t> ink(plane.levels.size());
    for (std::size_t i = 0; i < ink.size(); ++i) {
        ink[i] = std::abs(int{plane.levels[i]} - int{background}) > kInkDifference ? 1 : 0;
    }
    const auto at = [&](std::uint32_t x, std::uint32_t y) { return std::size_t{y} * w + x; };
    std::vector<std::uint8_t> stroke(ink.size());
    const auto mark = [&](std::uint32_t length, std::uint32_t count, std::uint32_t shortest,
                          auto&& position) {
        for (std::uint32_t line = 0; line < count; ++line) {
            std::uint32_t run = 0;
            for (std::uint32_t step = 0; step <= length; ++step) {
                if (step < length && position(line, step) != SIZE_MAX) {
                    ++run;
                    continue;
                }
                if (run >= shortest) {
                    for (std::uint32_t back = step - run; back < step; ++back) {
                        stroke[position(line, back)] = 1;
                    }
                }
                run = 0;
            }
        }
    };
    // A pixel of a thin horizontal stroke: ink, with background three rows above and below.
    mark(w, h, shortestAcross, [&](std::uint32_t y, std::uint32_t x) -> std::size_t {
        const bool thin = ink[at(x, y)] && (y < kStrokeReach || !ink[at(x, y - kStrokeReach)]) &&
                          (y + kStrokeReach >= h || !ink[at(x, y + kStrokeReach)]);
        return thin ? at(x, y) : SIZE_MAX;
    });
    mark(h, w, shortestDown, [&](std::uint32_t x, std::uint32_t y) -> std::size_t {
        const bool thin = ink[at(x, y)] && (x < kStrokeReach || !ink[at(x - kStrokeReach, y)]) &&
                          (x + kStrokeReach >= w || !ink[at(x + kStrokeReach, y)]);
        return thin ? at(x, y) : SIZE_MAX;
    });
    bool changed = false;
    for (std::size_t i = 0; i < stroke.size(); ++i) {
        if (stroke[i] != 0) {
            changed = changed || plane.levels[i] != background;
            plane.levels[i] = background;
        }
    }
    return changed;
}

}  // namespace glyphsnap
