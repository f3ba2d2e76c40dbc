#include <gtest/gtest.h>

#include <string>

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {
namespace {

// One field of each kind: a whole count, a decimal, a ratio and a signed number.
struct OverrideCase {
    const char* name;
    const char* text;
    std::uint32_t thickestFrameStroke;
    float shortestRuleDown;
    int tallNumerator;
    int tallDenominator;
    int cropMargin;
};

class TuningOverridesTest : public ::testing::TestWithParam<OverrideCase> {};

TEST_P(TuningOverridesTest, SetsWhatIsWellFormedAndKeepsTheRest) {
    const OverrideCase& c = GetParam();
    const ReadingTuning tuning = TuningWithOverrides(c.text);
    EXPECT_EQ(tuning.thickestFrameStroke, c.thickestFrameStroke);
    EXPECT_FLOAT_EQ(tuning.shortestRuleDown, c.shortestRuleDown);
    EXPECT_EQ(tuning.tallWordShare.numerator, c.tallNumerator);
    EXPECT_EQ(tuning.tallWordShare.denominator, c.tallDenominator);
    EXPECT_EQ(tuning.cropMargin, c.cropMargin);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TuningOverridesTest,
    ::testing::Values(
        OverrideCase{"Empty", "", 5, 1.3F, 4, 5, 4},
        OverrideCase{
            "EachKind",
            "thickestFrameStroke=7\nshortestRuleDown=2.5\ntallWordShare=2/3\ncropMargin=6\n", 7,
            2.5F, 2, 3, 6},
        OverrideCase{"BlanksCommentsAndCarriageReturns",
                     "# a sweep of the margin\r\n\r\n  cropMargin = 9 \r\n", 5, 1.3F, 4, 5, 9},
        OverrideCase{"LaterLineWins", "cropMargin=6\ncropMargin=8", 5, 1.3F, 4, 5, 8},
        OverrideCase{"UnknownNameKeepsTheOthers", "frameStroke=7\ncropMargin=6", 5, 1.3F, 4, 5, 6},
        OverrideCase{"NameInAnotherCase", "CropMargin=6", 5, 1.3F, 4, 5, 4},
        OverrideCase{"NoEqualsSign", "cropMargin 6", 5, 1.3F, 4, 5, 4},
        OverrideCase{"EmptyValue", "cropMargin=", 5, 1.3F, 4, 5, 4},
        OverrideCase{"TrailingText", "thickestFrameStroke=7px", 5, 1.3F, 4, 5, 4},
        OverrideCase{"DecimalForAWholeCount", "thickestFrameStroke=7.5", 5, 1.3F, 4, 5, 4},
        OverrideCase{"Negative", "cropMargin=-3\nthickestFrameStroke=-1", 5, 1.3F, 4, 5, 4},
        OverrideCase{"TooLarge", "thickestFrameStroke=99999999999", 5, 1.3F, 4, 5, 4},
        OverrideCase{"NotFinite", "shortestRuleDown=inf", 5, 1.3F, 4, 5, 4},
        OverrideCase{"NotANumber", "shortestRuleDown=nan", 5, 1.3F, 4, 5, 4},
        OverrideCase{"RatioOverZero", "tallWordShare=1/0", 5, 1.3F, 4, 5, 4},
        OverrideCase{"RatioWithoutSlash", "tallWordShare=3", 5, 1.3F, 4, 5, 4},
        OverrideCase{"RatioWithTwoSlashes", "tallWordShare=1/2/3", 5, 1.3F, 4, 5, 4}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

}  // namespace
}  // namespace glyphsnap
