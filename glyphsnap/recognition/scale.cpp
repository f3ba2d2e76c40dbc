#include "glyphsnap/recognition/scale.h"

#include <algorithm>
#include <cmath>

namespace glyphsnap {
namespace {

// The scale keeps every side within the recognizer's 32-bit limit, but the float product of the
// largest limit rounds up to 2^32, which no longer converts.
std::uint32_t TruncatedSide(float side) {
    constexpr float kTwoToThe32 = 4294967296.0f;
    return side >= kTwoToThe32 ? UINT32_MAX : static_cast<std::uint32_t>(side);
}

}  // namespace

float ComputeOcrScale(std::uint32_t w, std::uint32_t h, std::uint32_t maxDimension) {
    const std::uint32_t shortSide = std::min(w, h);
    const std::uint32_t longSide = std::max(w, h);
    if (shortSide == 0) {
        return 1.0f;  // an empty image has nothing to resample
    }
    float s = 1.0f;
    if (shortSide < 200) {
        s = 200.0f / static_cast<float>(shortSide);
    }
    if (static_cast<float>(longSide) * s > static_cast<float>(maxDimension)) {
        s = static_cast<float>(maxDimension) / static_cast<float>(longSide);
    }
    return s;
}

std::optional<OcrBitmapSize> ScaledOcrSize(std::uint32_t w, std::uint32_t h, float s) {
    if (std::fabs(s - 1.0f) <= 0.01f) {
        return std::nullopt;
    }
    return OcrBitmapSize{TruncatedSide(static_cast<float>(w) * s),
                         TruncatedSide(static_cast<float>(h) * s)};
}

}  // namespace glyphsnap
