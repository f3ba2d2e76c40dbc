#include "glyphsnap/recognition/enhance.h"

#include <cstddef>

#include "glyphsnap/recognition/enhance_paths.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define GLYPHSNAP_X86_PATHS 1
#include <immintrin.h>
#endif

namespace glyphsnap {
namespace {

// The luminance weights and the contrast step, in the order the products and sums are taken. The
// vector paths perform the very same single-precision operations (no fused multiply-add), so
// every path gives equal bytes.
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

}  // namespace

namespace ocr_enhance_paths {

#if defined(GLYPHSNAP_X86_PATHS)

// Four pixels per step, one 32-bit lane each (blue in the low byte, alpha in the high byte).
std::size_t EnhanceSse2(std::uint8_t* data, std::size_t pixelCount, float contrast) {
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

// Eight pixels per step; byte shuffles take the channels apart and put the grey back together.
__attribute__((target("avx2"))) std::size_t EnhanceAvx2(std::uint8_t* data, std::size_t pixelCount,
                                                        float contrast) {
    constexpr char z = static_cast<char>(0x80);  // a shuffle index that yields a zero byte
    const __m256i blueBytes = _mm256_setr_epi8(0, z, z, z, 4, z, z, z, 8, z, z, z, 12, z, z, z,  //
                                               0, z, z, z, 4, z, z, z, 8, z, z, z, 12, z, z, z);
    const __m256i greenBytes = _mm256_setr_epi8(1, z, z, z, 5, z, z, z, 9, z, z, z, 13, z, z, z, 1,
                                                z, z, z, 5, z, z, z, 9, z, z, z, 13, z, z, z);
    const __m256i redBytes = _mm256_setr_epi8(2, z, z, z, 6, z, z, z, 10, z, z, z, 14, z, z, z, 2,
                                              z, z, z, 6, z, z, z, 10, z, z, z, 14, z, z, z);
    const __m256i spreadGrey = _mm256_setr_epi8(0, 0, 0, z, 4, 4, 4, z, 8, 8, 8, z, 12, 12, 12, z,
                                                0, 0, 0, z, 4, 4, 4, z, 8, 8, 8, z, 12, 12, 12, z);
    const __m256i alphaMask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256 redWeight = _mm256_set1_ps(kRedWeight);
    const __m256 greenWeight = _mm256_set1_ps(kGreenWeight);
    const __m256 blueWeight = _mm256_set1_ps(kBlueWeight);
    const __m256 midGrey = _mm256_set1_ps(kMidGrey);
    const __m256 factor = _mm256_set1_ps(contrast);
    const __m256 black = _mm256_setzero_ps();
    const __m256 white = _mm256_set1_ps(255.0f);

    std::size_t done = 0;
    for (; done + 8 <= pixelCount; done += 8) {
        std::uint8_t* at = data + done * 4;
        const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
        const __m256 b = _mm256_cvtepi32_ps(_mm256_shuffle_epi8(pixels, blueBytes));
        const __m256 g = _mm256_cvtepi32_ps(_mm256_shuffle_epi8(pixels, greenBytes));
        const __m256 r = _mm256_cvtepi32_ps(_mm256_shuffle_epi8(pixels, redBytes));
        const __m256 grey =
            _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(r, redWeight), _mm256_mul_ps(g, greenWeight)),
                          _mm256_mul_ps(b, blueWeight));
        __m256 v = _mm256_add_ps(_mm256_mul_ps(_mm256_sub_ps(grey, midGrey), factor), midGrey);
        v = _mm256_max_ps(_mm256_min_ps(v, white), black);
        const __m256i y = _mm256_shuffle_epi8(_mm256_cvttps_epi32(v), spreadGrey);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at),
                            _mm256_or_si256(y, _mm256_and_si256(pixels, alphaMask)));
    }
    return done;
}

bool CanUseAvx2() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}

#else

std::size_t EnhanceSse2(std::uint8_t*, std::size_t, float) {
    return 0;
}
std::size_t EnhanceAvx2(std::uint8_t*, std::size_t, float) {
    return 0;
}
bool CanUseAvx2() {
    return false;
}

#endif

}  // namespace ocr_enhance_paths

void EnhanceForOcr(std::span<std::uint8_t> pixels, float contrast) {
    const std::size_t pixelCount = pixels.size() / 4;
    std::size_t done = ocr_enhance_paths::CanUseAvx2()
                           ? ocr_enhance_paths::EnhanceAvx2(pixels.data(), pixelCount, contrast)
                           : ocr_enhance_paths::EnhanceSse2(pixels.data(), pixelCount, contrast);
    for (; done < pixelCount; ++done) {
        std::uint8_t* pixel = pixels.data() + done * 4;
        const std::uint8_t grey = EnhancedGrey(pixel[0], pixel[1], pixel[2], contrast);
        pixel[0] = grey;
        pixel[1] = grey;
        pixel[2] = grey;
    }
}

}  // namespace glyphsnap
