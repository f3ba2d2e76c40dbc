// A page read again at half size keeps what the other passes hold in the page's own pixels.
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "glyphsnap/recognition/tesseract/passes/pass_halved.h"

namespace glyphsnap {
namespace {

GreyPlane BlankPlane(std::uint32_t width, std::uint32_t height) {
    return {width, height, std::vector<std::uint8_t>(std::size_t{width} * height, 255)};
}

struct PlacedWord {
    std::u16string text;
    WordBox box;
};

std::vector<PlacedWord> WordsOf(const std::vector<ReadLine>& lines) {
    std::vector<PlacedWord> words;
    for (const ReadLine& line : lines) {
        for (const ReadWord& word : line) {
            words.push_back({word.text, word.box});
        }
    }
    return words;
}

void ExpectBox(const WordBox& box, const WordBox& expected) {
    EXPECT_EQ(box.left, expected.left);
    EXPECT_EQ(box.top, expected.top);
    EXPECT_EQ(box.right, expected.right);
    EXPECT_EQ(box.bottom, expected.bottom);
}

struct HalvedCase {
    const char* name;
    int halvedConfidence;
    int confidenceAfter;
    std::vector<PlacedWord> wordsAfter;  // in the page's pixels
};

class HalvedReadingTest : public ::testing::TestWithParam<HalvedCase> {};

// A page of 200 x 100 pixels, cut between the engines' bands at row 50, with two ink lines and a
// first reading of both; its half is read with one line, the upper one.
TEST_P(HalvedReadingTest, LeavesThePageInItsOwnPixels) {
    const HalvedCase& c = GetParam();
    EngineSet engines;
    RecognitionDeadline deadline(std::chrono::milliseconds(1000));
    PageState page{
        .readers = {engines, ThreadUse::OneThread, deadline},
        .plane = BlankPlane(200, 100),
        .inkLines = {{10, 20, 90, 40}, {10, 60, 90, 80}},
        .cut = 50,
        .reading = {{{{u"upper", 40, {10, 20, 90, 40}}}, {{u"lower", 60, {10, 60, 90, 80}}}}, 50}};
    Reading halved{{{{u"halved", 95, {5, 10, 45, 20}}}}, c.halvedConfidence};

    TakeHalvedReading(page, BlankPlane(100, 50), halved);

    EXPECT_EQ(page.plane.width, 200U);
    EXPECT_EQ(page.plane.height, 100U);
    EXPECT_EQ(page.cut, 50U);
    ASSERT_EQ(page.inkLines.size(), 2U);
    ExpectBox(page.inkLines[0], {10, 20, 90, 40});
    ExpectBox(page.inkLines[1], {10, 60, 90, 80});
    EXPECT_EQ(page.reading.confidence, c.confidenceAfter);
    const std::vector<PlacedWord> words = WordsOf(page.reading.lines);
    ASSERT_EQ(words.size(), c.wordsAfter.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(words[i].text, c.wordsAfter[i].text);
        ExpectBox(words[i].box, c.wordsAfter[i].box);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Readings, HalvedReadingTest,
    ::testing::Values(HalvedCase{"MoreConfidentStandsWithTheLineOnlyTheFirstFound",
                                 95,
                                 95,
                                 {{u"halved", {10, 20, 90, 40}}, {u"lower", {10, 60, 90, 80}}}},
                      HalvedCase{"LessConfidentIsDropped",
                                 45,
                                 50,
                                 {{u"upper", {10, 20, 90, 40}}, {u"lower", {10, 60, 90, 80}}}}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

}  // namespace
}  // namespace glyphsnap
