// The Tesseract recognizer behind the pipeline: the kept engine follows the profile from one
// request to the next and carries nothing over.
#include <gtest/gtest.h>

#include <string>

#include "image_pipeline.h"
#include "recognition_tesseract_engine.h"
#include "test_images.h"

namespace glyphsnap {
namespace {

using testing::Base64;
using testing::RenderedText;
using testing::ScratchFolder;

class TesseractEngineTest : public ::testing::Test {
  protected:
    std::u16string Recognise(const std::string& image, EngineUse use = EngineUse::Reused) {
        const auto environment = [this](const char* name) -> const char* {
            return std::string_view(name) == "LANG" ? lang.c_str() : nullptr;
        };
        const RecognitionOutcome outcome =
            RecognizeImageText(image, [&] { return CreateTesseractRecognizer(environment, use); });
        if (const auto* error = std::get_if<RecognitionError>(&outcome)) {
            ADD_FAILURE() << "recognition failed: " << static_cast<int>(error->failure);
            return {};
        }
        return std::get<std::u16string>(outcome);
    }

    ScratchFolder scratch;
    std::string lang = "en_US.UTF-8";
};

TEST_F(TesseractEngineTest, LanguageChangeTakesEffectAtTheNextRequest) {
    const std::string chinese =
        Base64(RenderedText(scratch.path() / "zh.png", {"今天天气很好"}, {.fontSize = 40}));
    lang = "zh_CN.UTF-8";
    EXPECT_EQ(Recognise(chinese), u"今天天气很好\r\n");
    lang = "en_US.UTF-8";
    EXPECT_NE(Recognise(chinese), u"今天天气很好\r\n");
    lang = "zh_CN.UTF-8";
    EXPECT_EQ(Recognise(chinese), u"今天天气很好\r\n");
}

TEST_F(TesseractEngineTest, SingleLinesOfChineseAreReadAfterEnlargement) {
    // Short images are enlarged to a 200-pixel side, which makes these glyphs very large.
    lang = "zh_CN.UTF-8";
    for (const int fontSize : {20, 40}) {
        SCOPED_TRACE(fontSize);
        const std::string label = Base64(RenderedText(
            scratch.path() / "label.png", {"是否在关闭前保存更改"}, {.fontSize = fontSize}));
        EXPECT_EQ(Recognise(label), u"是否在关闭前保存更改\r\n");
    }
}

TEST_F(TesseractEngineTest, ReusedAndFreshEnginesAgree) {
    const std::string page = Base64(RenderedText(
        scratch.path() / "en.png", {"Reused engines keep no words", "from an earlier page"}));
    const std::u16string expected = u"Reused engines keep no words\r\nfrom an earlier page\r\n";
    EXPECT_EQ(Recognise(page, EngineUse::Fresh), expected);
    EXPECT_EQ(Recognise(page), expected);
    EXPECT_EQ(Recognise(page), expected);
}

TEST_F(TesseractEngineTest, ReportsItsSizeLimit) {
    const auto environment = [](const char*) -> const char* { return nullptr; };
    const auto recognizer = CreateTesseractRecognizer(environment);
    ASSERT_NE(recognizer, nullptr);
    EXPECT_EQ(recognizer->MaxImageDimension(), 10000u);
}

}  // namespace
}  // namespace glyphsnap
