// Glyphsnap.exe's Windows Runtime recognizer, run whole under Wine against the stand-in runtime
// registered in the test prefix: the calls it makes (as the stand-in logs them), the bitmap the
// recognizer receives, the text it answers with, and its replies to each failure.
#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "glyphsnap/tests/blackbox/child_process.h"
#include "glyphsnap/tests/protocol/frame_bytes.h"
#include "glyphsnap/tests/recognition/test_images.h"

namespace glyphsnap::blackbox {
namespace {

namespace fs = std::filesystem;
using glyphsnap::testing::Base64;
using glyphsnap::testing::EncodedImage;
using glyphsnap::testing::Frame;
using glyphsnap::testing::ScratchFolder;
using namespace std::chrono_literals;

constexpr auto kReplyLimit = 60s;

std::string Required(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The Windows name of a path of this machine, through Wine's drive for the root.
std::string WindowsPath(const fs::path& path) {
    return "Z:" + path.string();
}

std::vector<std::string> Lines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string RecognitionRequest(const std::vector<std::uint8_t>& image) {
    return Frame(R"({"image":"data:image/png;base64,)" + Base64(image) + R"("})");
}

std::vector<std::uint8_t> GreyPng(std::uint32_t width, std::uint32_t height, std::uint8_t level) {
    return EncodedImage(width, height, {level, level, level, 255}, IFF_PNG);
}

bool RunWine(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{Required("GLYPHSNAP_WINE_RUN")};
    command.insert(command.end(), arguments.begin(), arguments.end());
    ChildProcess process(command, {});
    process.CloseInput();
    return process.WaitForExit(120s) == 0;
}

class WinrtStandIn : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(RunWine({"regsvr32", "/s", WindowsPath(Required("GLYPHSNAP_WINRT_STANDIN"))}));
    }
    static void TearDownTestSuite() {
        EXPECT_TRUE(
            RunWine({"regsvr32", "/u", "/s", WindowsPath(Required("GLYPHSNAP_WINRT_STANDIN"))}));
    }

    void SetUp() override {
        std::stringstream command(Required("GLYPHSNAP_COMMAND"));
        for (std::string part; std::getline(command, part, '|');) {
            command_.push_back(part);
        }
        ASSERT_FALSE(command_.empty()) << "GLYPHSNAP_COMMAND names the program under test";
        Script("Hello World");
    }

    void Script(std::string_view answer) const {
        std::ofstream(script_, std::ios::binary) << answer;
    }

    std::unique_ptr<ChildProcess> Start() const {
        return std::make_unique<ChildProcess>(
            command_, std::vector<std::string>{"GLYPHSNAP_STANDIN_LOG=" + WindowsPath(log_),
                                               "GLYPHSNAP_STANDIN_OCR=" + WindowsPath(script_)});
    }

    // The log once it holds `line`, which the stand-in may write from a pool thread.
    std::vector<std::string> LogWith(std::string_view line) const {
        std::vector<std::string> lines;
        for (int attempt = 0; attempt < 100; ++attempt) {
            lines = Lines(log_);
            if (std::find(lines.begin(), lines.end(), line) != lines.end()) {
                break;
            }
            std::this_thread::sleep_for(50ms);
        }
        return lines;
    }

    std::vector<std::string> command_;
    ScratchFolder scratch_;
    fs::path log_ = scratch_.path() / "standin-calls.txt";
    fs::path script_ = scratch_.path() / "standin-ocr.txt";
};

TEST_F(WinrtStandIn, SmallImageIsEnlargedEnhancedAndItsWordsJoined) {
    const std::vector<std::uint8_t> png = GreyPng(100, 300, 100);
    const std::string size = std::to_string(png.size());
    auto glyphsnap = Start();
    glyphsnap->Write(RecognitionRequest(png));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit),
              R"({"data":"Hello World\r\n","status":"success"})");
    glyphsnap->CloseInput();
    EXPECT_EQ(glyphsnap->WaitForExit(kReplyLimit), 0);

    constexpr std::string_view kScaledBitmapCall =
        "BitmapDecoder.GetSoftwareBitmapAsync Bgra8 Straight 200x600 Linear IgnoreExifOrientation "
        "DoNotColorManage";
    const std::vector<std::string> expected{
        "CryptographicBuffer.DecodeFromBase64String " + size + " bytes",
        "InMemoryRandomAccessStream activated",
        "DataWriter created on the stream",
        "DataWriter.WriteBuffer " + size + " bytes",
        "DataWriter.StoreAsync " + size + " bytes",
        "InMemoryRandomAccessStream.Seek 0",
        "BitmapDecoder.CreateAsync 100x300",
        "OcrEngine.TryCreateFromUserProfileLanguages",
        "OcrEngine.MaxImageDimension 10000",
        std::string(kScaledBitmapCall),
        "SoftwareBitmap.LockBuffer ReadWrite",
        "SoftwareBitmap.LockBuffer Read",
        "OcrEngine.RecognizeAsync 200x600 first 97,97,97,255 last 97,97,97,255",
    };
    std::vector<std::string> log = Lines(log_);
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(
        std::vector<std::string>(log.begin(), log.begin() + static_cast<long>(expected.size())),
        expected);
    // Everything the operation held is released by the time the program has ended.
    for (const char* released :
         {"InMemoryRandomAccessStream released", "BitmapDecoder released",
          "SoftwareBitmap released", "OcrEngine released", "OcrResult released"}) {
        EXPECT_NE(std::find(log.begin(), log.end(), released), log.end()) << released;
    }
}

TEST_F(WinrtStandIn, ImageWithinOnePercentOfTheShortSideIsTakenUnscaled) {
    Script("3.5 kg|\xE4\xB8\xAD\xE6\x96\x87 World");
    auto glyphsnap = Start();
    glyphsnap->Write(RecognitionRequest(GreyPng(199, 500, 200)));
    EXPECT_EQ(
        glyphsnap->ReadReply(kReplyLimit),
        "{\"data\":\"3.5 kg\\r\\n\xE4\xB8\xAD\xE6\x96\x87World\\r\\n\",\"status\":\"success\"}");
    const std::vector<std::string> log =
        LogWith("OcrEngine.RecognizeAsync 199x500 first 207,207,207,255 last 207,207,207,255");
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "BitmapDecoder.GetSoftwareBitmapAsync Bgra8 Premultiplied 199x500"),
              log.end());
    EXPECT_NE(
        std::find(log.begin(), log.end(),
                  "OcrEngine.RecognizeAsync 199x500 first 207,207,207,255 last 207,207,207,255"),
        log.end());
}

TEST_F(WinrtStandIn, EachFailureGetsItsReplyAndTheNextRequestIsServed) {
    struct Failure {
        std::string name;
        std::string request;
        std::string script;
        std::string reply;
    };
    const std::vector<std::uint8_t> png = GreyPng(8, 8, 0);
    const Failure failures[] = {
        {"not Base64", Frame(R"({"image":"@@@@"})"), "Hello World",
         R"({"status":"error","data":"Base64 解码失败"})"},
        {"no image", Frame(R"({"image":"QUJD"})"), "Hello World",
         R"({"data":"图片解码失败: 无法识别的图片格式或图片已损坏","status":"error"})"},
        {"no recognizer", RecognitionRequest(png), "!no-engine",
         R"({"data":"文字识别失败: 没有适用于当前语言的识别引擎","status":"error"})"},
        {"recognition failed", RecognitionRequest(png), "!fail",
         R"({"data":"文字识别失败","status":"error"})"},
    };
    auto glyphsnap = Start();
    for (const Failure& failure : failures) {
        Script(failure.script);
        glyphsnap->Write(failure.request);
        EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), failure.reply) << failure.name;
        Script("a 1");
        glyphsnap->Write(RecognitionRequest(png));
        EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), R"({"data":"a1\r\n","status":"success"})")
            << failure.name;
    }
}

// The platform's operation never completes, not even when cancelled: the caller still hears
// within the reply limit, and the next request is served.
TEST_F(WinrtStandIn, OperationThatNeverEndsIsCancelledAndAnsweredAsTimedOut) {
    const std::vector<std::uint8_t> png = GreyPng(8, 8, 0);
    Script("!hang");
    auto glyphsnap = Start();
    glyphsnap->Write(RecognitionRequest(png));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit),
              R"({"data":"文字识别失败: 识别超时","status":"error"})");
    const std::vector<std::string> log = LogWith("Operation.Cancel");
    EXPECT_NE(std::find(log.begin(), log.end(), "Operation.Cancel"), log.end());

    Script("a 1");
    glyphsnap->Write(RecognitionRequest(png));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), R"({"data":"a1\r\n","status":"success"})");
    glyphsnap->CloseInput();
    EXPECT_EQ(glyphsnap->WaitForExit(kReplyLimit), 0);
}

}  // namespace
}  // namespace glyphsnap::blackbox
