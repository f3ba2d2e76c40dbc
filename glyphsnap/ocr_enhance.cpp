#include "ocr_enhance.h"

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace glyphsnap {
namespace {

// The luminance weights and the contrast step, in the order the products and sums are taken; the
// vector path below performs the very same single-precision operations, so both give equal bytes.
constexpr float kRedWeight = 0.299f;
constexpr float kGreenWeight = 0.587f;
constexpr float kBlueWeight = 0.114f;
constexpr float kMidGrey = 128.0f;

std::uint8_t EnhancedGrey(std::uint8_t b, std::uint8_t g, std::uint8_t r, float contrast) {
    const float grey = (static_cast<float>(r) * kRedWeight + static_cast<float>(g) * kGreenWeight) +
                       static_cast<float>(b) * kBlueWeight;
    float v = (grey - kMidGrey) * contrast + kMidGrey;
    if (v > 255.0f) {
        v = 255.0f;
    } else if (v < 0.0f) {
        v = 0.0f;
    }
    return static_cast<std::uint8_t>(static_cast<int>(v));
}

#if defined(__SSE2__)
// Four pixels per step, one 32-bit lane each (B in the low byte, A in the high byte).
std::size_t EnhanceVectorised(std::uint8_t* data, std::size_t pixelCount, float contrast) {
    const __m128i byteMask = _mm_set1_epi32(0xFF);
    const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128 redWeight = _mm_set1_ps(kRedWeight);
    const __m128 greenWeight = _mm_set1_ps(kGreenWeight);
    const __m128 blueWeight = _mm_set1_ps(kBlueWeight);
    const __m128 midGrey = _mm_set1_ps(kMidGrey);
    const __m128 factor = _mm_set1_ps(contrast);
    const __m128 black = _mm_setzero_ps();
    const __m128 white = _mm_set1_ps(255.0f);

    std::size_t done = 0;
    for (; done + 4 <= pixelCount; done += 4) {
        std::uint8_t* at = data + done * 4;
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128 b = _mm_cvtepi32_ps(_mm_and_si128(pixels, byteMask));
        const __m128 g = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(pixels, 8), byteMask));
        const __m128 r = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(pixels, 16), byteMask));
        const __m128 grey =
            _mm_add_ps(_mm_add_ps(_mm_mul_ps(r, redWeight), _mm_mul_ps(g, greenWeight)),
                       _mm_mul_ps(b, blueWeight));
        __m128 v = _mm_add_ps(_mm_mul_ps(_mm_sub_ps(grey, midGrey), factor), midGrey);
        v = _mm_max_ps(_mm_min_ps(v, white), black);
        const __m128i y = _mm_cvttps_epi32(v);
        const __m128i bgr =
            _mm_or_si128(_mm_or_si128(y, _mm_slli_epi32(y, 8)), _mm_slli_epi32(y, 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at),
                         _mm_or_si128(bgr, _mm_and_si128(pixels, alphaMask)));
    }
    return done;
}
#else
std::size_t EnhanceVectorised(std::uint8_t* /*data*/, std::size_t /*pixelCount*/,
                              float /*contrast*/) {
    return 0;
}
#endif

}  // namespace

void EnhanceForOcr(std::span<std::uint8_t> pixels, float contrast) {
    const std::size_t pixelCount = pixels.size() / 4;
    std::size_t done = EnhanceVectorised(pixels.data(), pixelCount, contrast);
    for (; done < pixelCount; ++done) {
        std::uint8_t* pixel = pixels.data() + done * 4;
        const std::uint8_t grey = EnhancedGrey(pixel[0], pixel[1], pixel[2], contrast);
        pixel[0] = grey;
        pixel[1] = grey;
        pixel[2] = grey;
    }
}

}  // namespace glyphsnap
