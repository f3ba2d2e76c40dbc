#include "glyphsnap/recognition/image/resample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace glyphsnap {
namespace {

// Where a target pixel's centre falls between two source pixels along one axis.
struct Tap {
    std::uint32_t lower = 0;
    std::uint32_t upper = 0;
    float weight = 0.0f;  // share of `upper`
};

std::vector<Tap> TapsFor(std::uint32_t sourceSize, std::uint32_t targetSize) {
    std::vector<Tap> taps(targetSize);
    const double step = static_cast<double>(sourceSize) / static_cast<double>(targetSize);
    const double last = static_cast<double>(sourceSize - 1);
    for (std::uint32_t i = 0; i < targetSize; ++i) {
        const double centre = std::clamp((i + 0.5) * step - 0.5, 0.0, last);
        const double lower = std::floor(centre);
        taps[i].lower = static_cast<std::uint32_t>(lower);
        taps[i].upper = std::min(taps[i].lower + 1, sourceSize - 1);
        taps[i].weight = static_cast<float>(centre - lower);
    }
    return taps;
}

}  // namespace

BgraBitmap ResampleLinear(const BgraBitmap& source, std::uint32_t width, std::uint32_t height) {
    BgraBitmap target{width, height, {}};
    if (width == 0 || height == 0 || source.width == 0 || source.height == 0) {
        return target;
    }
    target.pixels.resize(static_cast<std::size_t>(width) * height * 4);
    const std::vector<Tap> columns = TapsFor(source.width, width);
    const std::vector<Tap> rows = TapsFor(source.height, height);
    const std::size_t sourceStride = static_cast<std::size_t>(source.width) * 4;

    std::uint8_t* out = target.pixels.data();
    for (const Tap& row : rows) {
        const std::uint8_t* top = source.pixels.data() + row.lower * sourceStride;
        const std::uint8_t* bottom = source.pixels.data() + row.upper * sourceStride;
        for (const Tap& column : columns) {
            const std::size_t left = static_cast<std::size_t>(column.lower) * 4;
            const std::size_t right = static_cast<std::size_t>(column.upper) * 4;
            for (std::size_t channel = 0; channel < 4; ++channel) {
                const float upperRow = static_cast<float>(top[left + channel]) +
                                       (static_cast<float>(top[right + channel]) -
                                        static_cast<float>(top[left + channel])) *
                                           column.weight;
                const float lowerRow = static_cast<float>(bottom[left + channel]) +
                                       (static_cast<float>(bottom[right + channel]) -
                                        static_cast<float>(bottom[left + channel])) *
                                           column.weight;
                const float value = upperRow + (lowerRow - upperRow) * row.weight;
                *out++ = static_cast<std::uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f));
            }
        }
    }
    return target;
}

}  // namespace glyphsnap
