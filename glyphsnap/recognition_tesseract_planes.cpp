#include "recognition_tesseract_planes.h"

#include <cstddef>

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

}  // namespace glyphsnap
