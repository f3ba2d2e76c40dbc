#include <gtest/gtest.h>

#include "brambolt/framework/dpi_scale_rules.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace brambolt {
namespace {

struct ScaleCase {
    int length;
    int dpi;
    int scaled;
};

// Lengths of the start-up prompt at the common resolutions; 25 at 144 dpi is 37.5, rounded up.
constexpr ScaleCase kCases[] = {
    {460, 96, 460},  {25, 96, 25},    {415, 96, 415},  {460, 120, 575}, {25, 120, 31},
    {415, 120, 519}, {155, 120, 194}, {460, 144, 690}, {25, 144, 38},   {415, 144, 623},
    {90, 144, 135},  {460, 192, 920}, {25, 192, 50},   {0, 192, 0},     {-25, 144, -38},
};

TEST(ScaleForDpi, RoundsTheScaledLengthToTheNearestPixel) {
    for (const ScaleCase& c : kCases) {
        EXPECT_EQ(ScaleForDpi(c.length, c.dpi), c.scaled) << c.length << " at " << c.dpi;
    }
}

TEST(ScaleForDpi, AnswersMinusOneForNoResolutionOrAnOverflow) {
    EXPECT_EQ(ScaleForDpi(25, 0), -1);
    EXPECT_EQ(ScaleForDpi(0x7FFFFFFF, 192), -1);
}

#ifdef _WIN32
TEST(ScaleForDpi, AgreesWithMulDiv) {
    for (const ScaleCase& c : kCases) {
        EXPECT_EQ(ScaleForDpi(c.length, c.dpi), ::MulDiv(c.length, c.dpi, 96)) << c.length;
    }
    EXPECT_EQ(ScaleForDpi(0x7FFFFFFF, 192), ::MulDiv(0x7FFFFFFF, 192, 96));
}
#endif

}  // namespace
}  // namespace brambolt
