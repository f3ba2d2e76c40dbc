// JPEG decoding through libjpeg itself. Leptonica's reader only counts libjpeg's warnings, yet
// they differ: stray bytes before a marker or a damaged stretch of data are recovered from, as
// every viewer and the Windows decoder recover, while a file that ends early is only grey below
// the cut.
#pragma once

#include <cstdint>
#include <span>

#include "glyphsnap/recognition/image/pix.h"

namespace glyphsnap {

// More scans than any encoder writes (progressive files have about ten). Each scan passes over the
// whole image, so a small file of many scans would otherwise take minutes.
inline constexpr int kMaxJpegScans = 1000;

// The image as 8-bit grey or 32-bit colour, or null when libjpeg gives up on the bytes, when they
// end before the image does, or when they hold more than kMaxJpegScans scans. Nothing is written
// to standard error. Call it on bytes whose declared size was checked.
UniquePix DecodeJpeg(std::span<const std::uint8_t> bytes);

}  // namespace glyphsnap
