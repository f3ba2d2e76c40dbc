// The grey, contrast-stretched bitmap the recognizer reads.
#pragma once

#include <cstdint>
#include <span>

namespace glyphsnap {

// The contrast factor every recognition uses: the 32-bit float nearest to 1.1.
inline constexpr float kOcrContrast = 1.1f;

// Turns BGRA8 pixels into grey in place, in one pass: each whole 4-byte pixel from offset 0 gets
// its luminance, pushed away from 128 by `contrast` and clamped to 0..255, in blue, green and red;
// alpha and trailing bytes that make no whole pixel stay as they are.
void EnhanceForOcr(std::span<std::uint8_t> pixels, float contrast);

}  // namespace glyphsnap
