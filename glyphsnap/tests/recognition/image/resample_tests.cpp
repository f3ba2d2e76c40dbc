#include <gtest/gtest.h>

#include "glyphsnap/recognition/image/resample.h"

namespace glyphsnap {
namespace {

// A one-row bitmap whose pixels have the given grey levels and full alpha.
BgraBitmap GreyRow(const std::vector<std::uint8_t>& levels) {
    BgraBitmap bitmap{static_cast<std::uint32_t>(levels.size()), 1, {}};
    for (const std::uint8_t level : levels) {
        bitmap.pixels.insert(bitmap.pixels.end(), {level, level, level, 255});
    }
    return bitmap;
}

std::vector<std::uint8_t> BlueChannel(const BgraBitmap& bitmap) {
    std::vector<std::uint8_t> levels;
    for (std::size_t i = 0; i < bitmap.pixels.size(); i += 4) {
        levels.push_back(bitmap.pixels[i]);
    }
    return levels;
}

TEST(ResampleLinear, EnlargesBetweenPixelCentres) {
    const BgraBitmap wide = ResampleLinear(GreyRow({0, 255}), 4, 1);
    EXPECT_EQ(BlueChannel(wide), (std::vector<std::uint8_t>{0, 64, 191, 255}));
}

TEST(ResampleLinear, ShrinksToTheAverageOfNeighbours) {
    EXPECT_EQ(BlueChannel(ResampleLinear(GreyRow({0, 0, 255, 255}), 2, 1)),
              (std::vector<std::uint8_t>{0, 255}));
    EXPECT_EQ(BlueChannel(ResampleLinear(GreyRow({0, 100, 200, 250}), 2, 1)),
              (std::vector<std::uint8_t>{50, 225}));
}

TEST(ResampleLinear, InterpolatesRowsAndKeepsChannelsApart) {
    BgraBitmap column{1, 2, {10, 20, 30, 0, 110, 120, 130, 200}};
    const BgraBitmap tall = ResampleLinear(column, 1, 4);
    EXPECT_EQ(tall.pixels, (std::vector<std::uint8_t>{10, 20, 30, 0, 35, 45, 55, 50, 85, 95, 105,
                                                      150, 110, 120, 130, 200}));
}

TEST(ResampleLinear, SameSizeIsACopy) {
    const BgraBitmap row = GreyRow({3, 77, 200, 9});
    EXPECT_EQ(ResampleLinear(row, 4, 1).pixels, row.pixels);
}

TEST(ResampleLinear, ZeroSideGivesAnEmptyBitmap) {
    const BgraBitmap empty = ResampleLinear(GreyRow({1, 2}), 0, 5);
    EXPECT_EQ(empty.width, 0u);
    EXPECT_EQ(empty.height, 5u);
    EXPECT_TRUE(empty.pixels.empty());
}

}  // namespace
}  // namespace glyphsnap
