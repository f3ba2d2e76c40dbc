#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "glyphsnap/recognition/enhance.h"
#include "glyphsnap/recognition/enhance_paths.h"

namespace glyphsnap {
namespace {

std::vector<std::uint8_t> Enhanced(std::vector<std::uint8_t> pixels) {
    EnhanceForOcr(pixels, kOcrContrast);
    return pixels;
}

struct PixelCase {
    const char* name;
    std::uint8_t b, g, r, a;
    std::uint8_t expectedGrey;
};

class EnhancePixelTest : public ::testing::TestWithParam<PixelCase> {};

TEST_P(EnhancePixelTest, WritesGreyAndKeepsAlpha) {
    const PixelCase& c = GetParam();
    // Nine copies: the pixel goes through both the four-at-a-time and the single-pixel path.
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 9; ++i) {
        pixels.insert(pixels.end(), {c.b, c.g, c.r, c.a});
    }
    const std::vector<std::uint8_t> result = Enhanced(pixels);
    for (std::size_t i = 0; i < result.size(); i += 4) {
        EXPECT_EQ(result[i], c.expectedGrey) << "pixel " << i / 4;
        EXPECT_EQ(result[i + 1], c.expectedGrey);
        EXPECT_EQ(result[i + 2], c.expectedGrey);
        EXPECT_EQ(result[i + 3], c.a);
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, EnhancePixelTest,
                         ::testing::Values(PixelCase{"Grey100", 100, 100, 100, 255, 97},
                                           PixelCase{"Grey200", 200, 200, 200, 255, 207},
                                           PixelCase{"Grey128", 128, 128, 128, 255, 128},
                                           PixelCase{"Grey127", 127, 127, 127, 255, 126},
                                           PixelCase{"PureRed", 0, 0, 255, 255, 71},
                                           PixelCase{"PureGreen", 0, 255, 0, 255, 151},
                                           PixelCase{"PureBlue", 255, 0, 0, 255, 19},
                                           PixelCase{"TransparentAlphaKept", 200, 200, 200, 0, 207},
                                           PixelCase{"HalfAlphaKept", 100, 100, 100, 77, 97}),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(EnhanceForOcr, ClampsTheDarkestAndBrightestLevels) {
    for (int level = 0; level < 256; ++level) {
        const auto v = static_cast<std::uint8_t>(level);
        const std::uint8_t grey = Enhanced({v, v, v, 255})[0];
        if (level <= 12) {
            EXPECT_EQ(grey, 0) << level;
        } else if (level >= 244) {
            EXPECT_EQ(grey, 255) << level;
        } else {
            // Every other level moves away from 128 by a tenth of its distance, truncated.
            const int distance = level - 128;
            EXPECT_LE(std::abs(grey - (128 + distance + distance / 10)), 1) << level;
        }
    }
}

TEST(EnhanceForOcr, LeavesTrailingBytesOfAnIncompletePixel) {
    for (std::size_t trailing = 1; trailing <= 3; ++trailing) {
        std::vector<std::uint8_t> pixels(std::size_t{4} * 5 + trailing, 100);
        const std::vector<std::uint8_t> result = Enhanced(pixels);
        for (std::size_t i = 0; i < 20; i += 4) {
            EXPECT_EQ(result[i], 97);
        }
        for (std::size_t i = 20; i < result.size(); ++i) {
            EXPECT_EQ(result[i], 100) << "trailing byte " << i;
        }
    }
}

TEST(EnhanceForOcr, ChangesNothingBelowOnePixel) {
    EXPECT_EQ(Enhanced({}), std::vector<std::uint8_t>{});
    EXPECT_EQ(Enhanced({1, 2, 3}), (std::vector<std::uint8_t>{1, 2, 3}));
}

// The rule as written, one pixel at a time, to check every path on arbitrary colours.
std::uint8_t ReferenceGrey(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    const float grey = (static_cast<float>(r) * 0.299f + static_cast<float>(g) * 0.587f) +
                       static_cast<float>(b) * 0.114f;
    float v = (grey - 128.0f) * 1.1f + 128.0f;
    if (v > 255.0f) {
        v = 255.0f;
    } else if (v < 0.0f) {
        v = 0.0f;
    }
    return static_cast<std::uint8_t>(static_cast<int>(v));
}

std::vector<std::uint8_t> ArbitraryPixels(std::size_t bytes) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> pixels(bytes);
    for (auto& value : pixels) {
        value = static_cast<std::uint8_t>(byte(random));
    }
    return pixels;
}

// Checks the first `pixelCount` pixels of `result` against the rule applied to `original`.
void ExpectRuleApplied(const std::vector<std::uint8_t>& original,
                       const std::vector<std::uint8_t>& result, std::size_t pixelCount) {
    for (std::size_t i = 0; i < pixelCount * 4; i += 4) {
        const std::uint8_t expected = ReferenceGrey(original[i], original[i + 1], original[i + 2]);
        ASSERT_EQ(result[i], expected) << "pixel " << i / 4;
        ASSERT_EQ(result[i + 1], expected) << "pixel " << i / 4;
        ASSERT_EQ(result[i + 2], expected) << "pixel " << i / 4;
        ASSERT_EQ(result[i + 3], original[i + 3]) << "pixel " << i / 4;
    }
}

TEST(EnhanceForOcr, MatchesThePerPixelRuleOnArbitraryColours) {
    const std::vector<std::uint8_t> pixels = ArbitraryPixels(std::size_t{4} * 1003 + 2);
    ExpectRuleApplied(pixels, Enhanced(pixels), 1003);
}

TEST(EnhanceForOcr, EveryInstructionSetPathFollowsTheRule) {
    using Path = std::size_t (*)(std::uint8_t*, std::size_t, float);
    std::vector<std::pair<const char*, Path>> paths{{"sse2", ocr_enhance_paths::EnhanceSse2}};
    if (ocr_enhance_paths::CanUseAvx2()) {
        paths.emplace_back("avx2", ocr_enhance_paths::EnhanceAvx2);
    }
    const std::vector<std::uint8_t> original = ArbitraryPixels(std::size_t{4} * 1003);
    for (const auto& [name, path] : paths) {
        SCOPED_TRACE(name);
        std::vector<std::uint8_t> pixels = original;
        const std::size_t done = path(pixels.data(), 1003, kOcrContrast);
        EXPECT_GE(done, 1000u);
        ExpectRuleApplied(original, pixels, done);
        // Pixels past those it reports are left for the caller.
        EXPECT_TRUE(std::equal(pixels.begin() + static_cast<std::ptrdiff_t>(done * 4), pixels.end(),
                               original.begin() + static_cast<std::ptrdiff_t>(done * 4)));
    }
}

}  // namespace
}  // namespace glyphsnap
