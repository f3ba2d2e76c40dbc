// The built program, through its framed protocol, on images rendered for the test.
#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "glyphsnap/recognition/recognition.h"
#include "glyphsnap/tests/recognition/glyphsnap_process.h"
#include "glyphsnap/tests/recognition/test_images.h"

namespace glyphsnap {
namespace {

using testing::Base64;
using testing::GlyphsnapProcess;
using testing::RecognitionRequest;
using testing::RenderedText;
using testing::RenderOptions;
using testing::ScratchFolder;

// The profile is set by the locale variables alone; nothing of the caller's shell leaks in.
std::map<std::string, std::string> Profile(const std::string& lang) {
    return {{"LANG", lang},
            {"LANGUAGE", ""},
            {"LC_ALL", ""},
            {"LC_MESSAGES", ""},
            {"TESSDATA_PREFIX", ""}};
}

// The built success reply for ASCII or Chinese text, each line ending in CR LF.
std::string SuccessReply(const std::vector<std::string>& lines) {
    std::string data;
    for (const std::string& line : lines) {
        data += line + "\\r\\n";
    }
    return R"({"data":")" + data + R"(","status":"success"})";
}

std::string ReplyFor(RecognitionFailure failure) {
    return RecognitionErrorReply(RecognitionError{failure});
}

class EndToEndTest : public ::testing::Test {
  protected:
    std::string Rendered(const std::string& name, const std::vector<std::string>& lines,
                         const RenderOptions& options = {}) {
        return Base64(RenderedText(scratch.path() / name, lines, options));
    }

    ScratchFolder scratch;
};

const std::vector<std::string> kEnglishLines{"Glyphsnap reads text", "from pictures quickly"};

TEST_F(EndToEndTest, EnglishPngAndJpegAreRecognised) {
    GlyphsnapProcess glyphsnap(Profile("en_US.UTF-8"));
    glyphsnap.Send(RecognitionRequest(Rendered("english.png", kEnglishLines)));
    EXPECT_EQ(glyphsnap.Receive(), SuccessReply(kEnglishLines));
    glyphsnap.Send(RecognitionRequest(Rendered("english.jpg", kEnglishLines)));
    EXPECT_EQ(glyphsnap.Receive(), SuccessReply(kEnglishLines));
    glyphsnap.Send(
        RecognitionRequest("data:image/png;base64," + Rendered("english.png", kEnglishLines)));
    EXPECT_EQ(glyphsnap.Receive(), SuccessReply(kEnglishLines));
    EXPECT_EQ(glyphsnap.Finish(), 0);
}

TEST_F(EndToEndTest, JpegWithStrayBytesBeforeAMarkerIsRecognised) {
    std::vector<std::uint8_t> jpeg = RenderedText(scratch.path() / "english.jpg", kEnglishLines);
    // Three bytes before the start of scan: libjpeg warns and reads on, as every viewer does.
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) {
            jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(i), {0x12, 0x34, 0x56});
            break;
        }
    }
    GlyphsnapProcess glyphsnap(Profile("en_US.UTF-8"));
    glyphsnap.Send(RecognitionRequest(Base64(jpeg)));
    EXPECT_EQ(glyphsnap.Receive(), SuccessReply(kEnglishLines));
    // Cut short, it stays damaged: below the cut there is nothing to read.
    jpeg.resize(jpeg.size() / 2);
    glyphsnap.Send(RecognitionRequest(Base64(jpeg)));
    EXPECT_EQ(glyphsnap.Receive(), ReplyFor(RecognitionFailure::UndecodableImage));
}

TEST_F(EndToEndTest, ChineseFollowsTheProfileLanguage) {
    const std::vector<std::string> lines{"文字识别测试", "今天天气很好"};
    const std::string image = Rendered("chinese.png", lines, {.fontSize = 40});
    GlyphsnapProcess chinese(Profile("zh_CN.UTF-8"));
    chinese.Send(RecognitionRequest(image));
    EXPECT_EQ(chinese.Receive(), SuccessReply(lines));
    // An English profile has no Chinese model, so the same image cannot come back as that text.
    GlyphsnapProcess english(Profile("en_US.UTF-8"));
    english.Send(RecognitionRequest(image));
    const auto reply = english.Receive();
    ASSERT_TRUE(reply.has_value());
    EXPECT_NE(*reply, SuccessReply(lines));
    EXPECT_NE(reply->find(R"("status":"success")"), std::string::npos);
}

TEST_F(EndToEndTest, SmallLabelIsEnlargedAndWideBannerShrunk) {
    GlyphsnapProcess glyphsnap(Profile("en_US.UTF-8"));
    // About 150 x 40 pixels: far below the 200-pixel short side.
    glyphsnap.Send(RecognitionRequest(
        Rendered("label.png", {"Total 42 items"}, {.fontSize = 14, .padding = 6})));
    // A word that starts with a digit is joined to the word before it.
    EXPECT_EQ(glyphsnap.Receive(), SuccessReply({"Total42 items"}));
    // 12000 pixels wide: brought down to the recognizer's 10000.
    glyphsnap.Send(RecognitionRequest(Rendered("banner.png", {"Wide banner heading"},
                                               {.fontSize = 96, .width = 12000, .height = 300})));
    EXPECT_EQ(glyphsnap.Receive(), SuccessReply({"Wide banner heading"}));
}

TEST_F(EndToEndTest, EveryFailureIsAnsweredAndTheNextRequestServed) {
    GlyphsnapProcess glyphsnap(Profile("en_US.UTF-8"));
    const std::vector<std::uint8_t> png = RenderedText(scratch.path() / "ok.png", kEnglishLines);
    const std::vector<std::uint8_t> truncated(png.begin(), png.begin() + png.size() / 2);

    glyphsnap.Send(RecognitionRequest("not*base64"));
    EXPECT_EQ(glyphsnap.Receive(), R"({"status":"error","data":"Base64 解码失败"})");
    glyphsnap.Send(RecognitionRequest(Base64({'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0})));
    EXPECT_EQ(glyphsnap.Receive(), ReplyFor(RecognitionFailure::UndecodableImage));
    glyphsnap.Send(RecognitionRequest(Base64(truncated)));
    EXPECT_EQ(glyphsnap.Receive(), ReplyFor(RecognitionFailure::UndecodableImage));
    glyphsnap.Send(RecognitionRequest(Base64(testing::PngDeclaring(60000, 60000))));
    EXPECT_EQ(glyphsnap.Receive(), ReplyFor(RecognitionFailure::ImageTooLarge));
    glyphsnap.Send(RecognitionRequest(Base64(png)));
    EXPECT_EQ(glyphsnap.Receive(), SuccessReply(kEnglishLines));
    EXPECT_EQ(glyphsnap.Finish(), 0);
}

TEST_F(EndToEndTest, GifOfMillionsOfCommentBlocksIsRefusedAtOnce) {
    // 4 MiB of one-byte comment blocks around a real image.
    const std::vector<std::uint8_t> gif =
        testing::WithCommentBlocks(testing::EncodedHalves(240, 200, IFF_GIF), 2'000'000);
    GlyphsnapProcess glyphsnap(Profile("en_US.UTF-8"));
    glyphsnap.Send(RecognitionRequest(Base64(gif)));
    EXPECT_EQ(glyphsnap.Receive(), ReplyFor(RecognitionFailure::ImageTooComplex));
    EXPECT_EQ(glyphsnap.Finish(), 0);
}

TEST_F(EndToEndTest, NothingOfARequestReachesTheNext) {
    GlyphsnapProcess glyphsnap(Profile("en_US.UTF-8"));
    const std::string text = Rendered("text.png", kEnglishLines);
    const std::string blank = Base64(testing::EncodedImage(640, 200, {255, 255, 255, 255}, 3));
    glyphsnap.Send(RecognitionRequest(text));
    EXPECT_EQ(glyphsnap.Receive(), SuccessReply(kEnglishLines));
    glyphsnap.Send(RecognitionRequest(blank));
    EXPECT_EQ(glyphsnap.Receive(), SuccessReply({}));
    glyphsnap.Send(RecognitionRequest(text));
    EXPECT_EQ(glyphsnap.Receive(), SuccessReply(kEnglishLines));
}

TEST_F(EndToEndTest, MissingTrainedDataGetsTheNoRecognizerReply) {
    auto environment = Profile("en_US.UTF-8");
    environment["TESSDATA_PREFIX"] = scratch.path().string();  // an empty folder
    GlyphsnapProcess glyphsnap(environment);
    const std::string image = Rendered("text.png", kEnglishLines);
    glyphsnap.Send(RecognitionRequest(image));
    EXPECT_EQ(glyphsnap.Receive(), ReplyFor(RecognitionFailure::NoRecognizer));
    glyphsnap.Send(RecognitionRequest(image));
    EXPECT_EQ(glyphsnap.Receive(), ReplyFor(RecognitionFailure::NoRecognizer));
    EXPECT_EQ(glyphsnap.Finish(), 0);
}

TEST_F(EndToEndTest, NothingReachesStandardErrorWhateverTheLibrariesMeet) {
    // Damaged files make the image libraries complain and a damaged model makes Tesseract
    // complain; a caller that never reads standard error must not notice either.
    auto environment = Profile("en_US.UTF-8");
    environment["TESSDATA_PREFIX"] = scratch.path().string();
    std::ofstream(scratch.path() / "eng.traineddata") << "not a model";
    GlyphsnapProcess glyphsnap(environment, {.launcher = {}, .pipeErrors = true});
    for (const int format : {IFF_PNG, IFF_JFIF_JPEG, IFF_TIFF_ZIP, IFF_GIF, IFF_WEBP, IFF_BMP}) {
        const std::vector<std::uint8_t> image = testing::EncodedHalves(240, 200, format);
        std::vector<std::uint8_t> flipped = image;
        for (std::size_t i = 40; i + 10 < flipped.size(); i += 7) {
            flipped[i] ^= 0x5A;
        }
        for (const auto& damaged :
             {std::vector<std::uint8_t>(image.begin(), image.begin() + image.size() / 2),
              flipped}) {
            glyphsnap.Send(RecognitionRequest(Base64(damaged)));
            ASSERT_TRUE(glyphsnap.Receive().has_value()) << format;
        }
    }
    glyphsnap.Send(RecognitionRequest(Base64(testing::EncodedHalves(240, 200, IFF_PNG))));
    EXPECT_EQ(glyphsnap.Receive(), ReplyFor(RecognitionFailure::RecognizerNotStarted));
    EXPECT_EQ(glyphsnap.Finish(), 0);
    EXPECT_EQ(glyphsnap.ErrorOutput(), "");
}

TEST_F(EndToEndTest, EngineKeptBetweenRequestsEndsCleanlyAtExit) {
    // Under the memory checker, which fails the run on any read of freed memory.
    GlyphsnapProcess glyphsnap(Profile("en_US.UTF-8"),
                               {.launcher = {"valgrind", "-q", "--error-exitcode=99"}});
    glyphsnap.Send(
        RecognitionRequest(Base64(testing::EncodedImage(8, 8, {255, 255, 255, 255}, 3))));
    EXPECT_EQ(glyphsnap.Receive(), SuccessReply({}));
    EXPECT_EQ(glyphsnap.Finish(), 0);
}

}  // namespace
}  // namespace glyphsnap
