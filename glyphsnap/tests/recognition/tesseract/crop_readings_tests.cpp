// Crops of a plane read by the engines.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "glyphsnap/recognition/image/decode.h"
#include "glyphsnap/recognition/tesseract/passes/plane_readings.h"
#include "glyphsnap/tests/recognition/tesseract/started_engines.h"
#include "glyphsnap/tests/recognition/test_images.h"

namespace glyphsnap {
namespace {

std::u16string TextOf(const Reading& reading) {
    std::u16string text;
    for (const ReadLine& line : reading.lines) {
        for (const ReadWord& word : line) {
            text += word.text + u' ';
        }
    }
    return text;
}

TEST(CropReadings, ACropAsWideAsThePlaneReadsItsOwnRows) {
    // Two lines of text; the crops are the upper and the lower half, each as wide as the plane,
    // one engine reading both in turn.
    testing::ScratchFolder scratch;
    const auto bytes = testing::RenderedText(scratch.path() / "two.png",
                                             {"upper line words", "lower line text"}, {});
    const auto bitmap = DecodeImageBgra(bytes, AlphaMode::Straight);
    ASSERT_TRUE(bitmap);
    std::optional<EngineSet> engines = test::StartedEngines("en_US.UTF-8");
    ASSERT_TRUE(engines);
    RecognitionDeadline deadline(std::chrono::seconds(30));
    const GreyPlane plane = GreyPlaneOf(*bitmap);
    const int width = static_cast<int>(plane.width);
    const int middle = static_cast<int>(plane.height) / 2;
    const std::vector<Reading> readings =
        ReadCrops({*engines, ThreadUse::OneThread, deadline}, plane,
                  {{0, 0, width, middle}, {0, middle, width, static_cast<int>(plane.height)}},
                  tesseract::PSM_SINGLE_BLOCK);
    ASSERT_EQ(readings.size(), 2U);
    EXPECT_EQ(TextOf(readings[0]), u"upper line words ");
    EXPECT_EQ(TextOf(readings[1]), u"lower line text ");
    ASSERT_FALSE(readings[1].lines.empty());
    EXPECT_GE(readings[1].lines[0][0].box.top, middle);
}

}  // namespace
}  // namespace glyphsnap
