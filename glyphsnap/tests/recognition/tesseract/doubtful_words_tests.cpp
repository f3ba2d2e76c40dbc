// The Chinese re-reading of words the first reading doubted.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <vector>

#include "glyphsnap/recognition/image/decode.h"
#include "glyphsnap/recognition/tesseract/passes/pass_doubtful_words.h"
#include "glyphsnap/tests/recognition/tesseract/started_engines.h"
#include "glyphsnap/tests/recognition/test_images.h"

namespace glyphsnap {
namespace {

TEST(DoubtfulWords, AMarkBeforeItsLabelIsNotReadAgainAsAnIdeograph) {
    // One line of 32-pixel Chinese whose first glyph the first reading took for a mark, as it
    // takes a checkbox beside its label: read by the Chinese model alone, that ink is an
    // ideograph, as a checkbox's often is, and the mark would reach the reply as one.
    testing::ScratchFolder scratch;
    testing::RenderOptions options;
    options.padding = 10;
    const auto bytes =
        testing::RenderedText(scratch.path() / "label.png", {"加 新消息时播放"}, options);
    const auto bitmap = DecodeImageBgra(bytes, AlphaMode::Straight);
    ASSERT_TRUE(bitmap);
    std::optional<EngineSet> engines = test::StartedEngines("zh_CN.UTF-8");
    ASSERT_TRUE(engines);
    RecognitionDeadline deadline(std::chrono::seconds(30));
    PageState page{.readers = {*engines, ThreadUse::OneThread, deadline},
                   .plane = GreyPlaneOf(*bitmap)};
    page.budget = SecondReadingBudget(page.plane.width, page.plane.height);
    const auto width = static_cast<int>(page.plane.width);
    const auto height = static_cast<int>(page.plane.height);
    // The mark's box, as the first reading placed it, is half the line's height: a bullet or
    // checkbox rather than a bracket of the text.
    page.reading.lines = {{{u"\u201C\u2032", 17, {8, height / 4, 45, height * 3 / 4}},
                           {u"新消息时播放", 95, {56, 0, width - 8, height}}}};
    ReadDoubtfulWordsAgain(page);
    ASSERT_EQ(page.reading.lines.size(), 1U);
    ASSERT_FALSE(page.reading.lines[0].empty());
    EXPECT_EQ(page.reading.lines[0][0].text, u"\u201C\u2032");
}

}  // namespace
}  // namespace glyphsnap
