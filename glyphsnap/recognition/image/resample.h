// Resampling of the working bitmap to the size the recognizer is given.
#pragma once

#include <cstdint>

#include "glyphsnap/recognition/image/bitmap.h"

namespace glyphsnap {

// The bitmap resampled to width x height with linear interpolation between the four nearest
// source pixels (pixel centres aligned, edges clamped), each channel on its own, straight alpha.
// A zero target side gives an empty bitmap of that size.
BgraBitmap ResampleLinear(const BgraBitmap& source, std::uint32_t width, std::uint32_t height);

}  // namespace glyphsnap
