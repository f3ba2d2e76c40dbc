// How much an image is resampled before recognition: small text is enlarged, and no side may pass
// the recognizer's size limit.
#pragma once

#include <cstdint>
#include <optional>

namespace glyphsnap {

struct OcrBitmapSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    friend bool operator==(const OcrBitmapSize&, const OcrBitmapSize&) = default;
};

// The factor for an image of w x h pixels and a recognizer that accepts sides up to `maxDimension`:
// a short side below 200 pixels is brought to 200, unless the long side would then pass the limit,
// which the long side is brought to instead. 32-bit float arithmetic throughout.
float ComputeOcrScale(std::uint32_t w, std::uint32_t h, std::uint32_t maxDimension);

// The size the image is resampled to for the factor `s`, or nothing when the factor is within 0.01
// of 1 and the image is taken as it is. Each side is the float product truncated toward zero.
std::optional<OcrBitmapSize> ScaledOcrSize(std::uint32_t w, std::uint32_t h, float s);

}  // namespace glyphsnap
