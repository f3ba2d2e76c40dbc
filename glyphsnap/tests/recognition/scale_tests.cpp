#include <gtest/gtest.h>

#include <optional>

#include "glyphsnap/recognition/scale.h"

namespace glyphsnap {
namespace {

struct ScaleCase {
    const char* name;
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t maxDimension;
    float expectedScale;
    std::optional<OcrBitmapSize> expectedSize;  // nothing: the image is taken unscaled
};

class OcrScaleTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(OcrScaleTest, GivesFactorAndTruncatedSize) {
    const ScaleCase& c = GetParam();
    const float s = ComputeOcrScale(c.width, c.height, c.maxDimension);
    EXPECT_FLOAT_EQ(s, c.expectedScale);
    const std::optional<OcrBitmapSize> size = ScaledOcrSize(c.width, c.height, s);
    ASSERT_EQ(size.has_value(), c.expectedSize.has_value());
    if (size) {
        EXPECT_EQ(size->width, c.expectedSize->width);
        EXPECT_EQ(size->height, c.expectedSize->height);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EdgeSizes, OcrScaleTest,
    ::testing::Values(
        ScaleCase{"ShortSideDoubled", 100, 300, 10000, 2.0f, OcrBitmapSize{200, 600}},
        ScaleCase{"WithinOnePercentStaysUnscaled", 199, 500, 10000, 200.0f / 199.0f, std::nullopt},
        ScaleCase{"FloatProductTruncatedBelow200", 198, 500, 10000, 200.0f / 198.0f,
                  OcrBitmapSize{199, 505}},
        ScaleCase{"EnlargementCappedAtLimit", 150, 10000, 10000, 1.0f, std::nullopt},
        ScaleCase{"LongSideShrunkToLimit", 1000, 20000, 10000, 0.5f, OcrBitmapSize{500, 10000}},
        ScaleCase{"SmallLimitShrinks", 50, 5000, 4000, 0.8f, OcrBitmapSize{40, 4000}},
        ScaleCase{"LargeImageUntouched", 1280, 720, 10000, 1.0f, std::nullopt},
        ScaleCase{"WidthIsTheShortSide", 300, 100, 10000, 2.0f, OcrBitmapSize{600, 200}}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(OcrScale, EnlargementStopsWhereTheLongSideMeetsTheLimit) {
    // 20 x 2000 would become 200 x 20000; the long side is held at the limit instead.
    const float s = ComputeOcrScale(20, 2000, 10000);
    EXPECT_FLOAT_EQ(s, 5.0f);
    EXPECT_EQ(ScaledOcrSize(20, 2000, s), (OcrBitmapSize{100, 10000}));
}

TEST(OcrScale, FactorExactlyOnePercentAwayIsNotResampled) {
    EXPECT_FALSE(ScaledOcrSize(1000, 1000, 1.01f).has_value());
    EXPECT_FALSE(ScaledOcrSize(1000, 1000, 0.99f).has_value());
    EXPECT_TRUE(ScaledOcrSize(1000, 1000, 1.0102f).has_value());
}

}  // namespace
}  // namespace glyphsnap
