// The working bitmap of a recognition: BGRA8, rows top to bottom, no padding between rows.
#pragma once

#include <cstdint>
#include <vector>

namespace glyphsnap {

struct BgraBitmap {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 4 bytes: blue, green, red, alpha
};

}  // namespace glyphsnap
