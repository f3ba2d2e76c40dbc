// The instruction-set paths behind EnhanceForOcr, open to tests so that each is checked on its
// own whichever one the machine would pick. Each enhances whole pixels from the start of `data`
// and returns how many it did; the caller finishes the rest one by one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace glyphsnap::ocr_enhance_paths {

std::size_t EnhanceSse2(std::uint8_t* data, std::size_t pixelCount, float contrast);
std::size_t EnhanceAvx2(std::uint8_t* data, std::size_t pixelCount, float contrast);
bool CanUseAvx2();

}  // namespace glyphsnap::ocr_enhance_paths
