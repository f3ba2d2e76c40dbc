// The Tesseract recognizer behind the pipeline: the kept engine follows the profile from one
// request to the next and carries nothing over.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>

#include "glyphsnap/recognition/image/pipeline.h"
#include "glyphsnap/recognition/tesseract/engine/engine.h"
#include "glyphsnap/tests/recognition/test_images.h"

namespace glyphsnap {
namespace {

using testing::Base64;
using testing::RenderedText;
using testing::ScratchFolder;

class TesseractEngineTest : public ::testing::Test {
  protected:
    RecognitionOutcome Outcome(const std::string& image, EngineUse use,
                               std::chrono::milliseconds timeLimit = kRecognitionTimeLimit) {
        const auto environment = [this](const char* name) -> const char* {
            return std::string_view(name) == "LANG" ? lang.c_str() : nullptr;
        };
        return RecognizeImageText(
            image, [&] { return CreateTesseractRecognizer(environment, use, timeLimit); });
    }

    std::u16string Recognise(const std::string& image, EngineUse use = EngineUse::Reused) {
        const RecognitionOutcome outcome = Outcome(image, use);
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

TEST_F(TesseractEngineTest, DialogUnderWineIsReadLabelsFieldsAndButtons) {
    // Brambolt's set-password dialog as Wine draws it: 12-pixel Chinese labels beside input
    // boxes, a typed password, and a row of two buttons.
    std::ifstream file(std::string(SCREENSHOTS_FOLDER) + "/set_password_dialog.png",
                       std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_FALSE(bytes.empty());
    lang = "zh_CN.UTF-8";
    EXPECT_EQ(Recognise(Base64(bytes)), u"输入密码:| abc123\r\n确认密码:\r\n取消确认\r\n");
}

TEST_F(TesseractEngineTest, ReusedAndFreshEnginesAgree) {
    const std::string page = Base64(RenderedText(
        scratch.path() / "en.png", {"Reused engines keep no words", "from an earlier page"}));
    const std::u16string expected = u"Reused engines keep no words\r\nfrom an earlier page\r\n";
    EXPECT_EQ(Recognise(page, EngineUse::Fresh), expected);
    EXPECT_EQ(Recognise(page), expected);
    EXPECT_EQ(Recognise(page), expected);
}

TEST_F(TesseractEngineTest, RecognitionPastItsTimeLimitIsStoppedAndTheEngineServesOn) {
    const std::string page = Base64(RenderedText(
        scratch.path() / "en.png", {"Every recognition has a deadline", "and the next one too"}));
    for (const EngineUse use : {EngineUse::Reused, EngineUse::Fresh}) {
        const RecognitionOutcome stopped = Outcome(page, use, std::chrono::milliseconds(1));
        ASSERT_TRUE(std::holds_alternative<RecognitionError>(stopped));
        EXPECT_EQ(std::get<RecognitionError>(stopped).failure,
                  RecognitionFailure::RecognitionTimedOut);
    }
    EXPECT_EQ(Recognise(page), u"Every recognition has a deadline\r\nand the next one too\r\n");
}

TEST_F(TesseractEngineTest, ReportsItsSizeLimit) {
    const auto environment = [](const char*) -> const char* { return nullptr; };
    auto created = CreateTesseractRecognizer(environment);
    auto* recognizer = std::get_if<std::unique_ptr<TextRecognizer>>(&created);
    ASSERT_TRUE(recognizer != nullptr && *recognizer != nullptr);
    EXPECT_EQ((*recognizer)->MaxImageDimension(), 10000u);
}

}  // namespace
}  // namespace glyphsnap
