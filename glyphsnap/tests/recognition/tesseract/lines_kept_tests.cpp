// No line is lost: whatever a plain reading of an image as one block finds is in the reply, and
// the lines the engine's layout analysis passes over are read all the same.
#include <gtest/gtest.h>
#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "glyphsnap/recognition/image/pipeline.h"
#include "glyphsnap/recognition/tesseract/engine.h"
#include "glyphsnap/tests/recognition/test_images.h"
#include "glyphsnap/text/utf.h"

namespace glyphsnap {
namespace {

using testing::Base64;
using testing::RenderedText;
using testing::ScratchFolder;

// Real text, from CMake's manual and the Chinese manual page of ls.
const std::vector<std::string> kEnglish = {
    "Specify the directory on disk to which a file will be installed.",
    "Arguments can be relative or absolute paths.",
    "The top-level directory containing source files provided by the project.",
    "This command generates installation rules for a project.",
    "If the directory doesn't already exist CMake will make it.",
    "Find a package, usually provided by something external to the project.",
    "Variables are the basic unit of storage in the CMake Language.",
    "Path to root directory of the CMake project to build.",
};
const std::vector<std::string> kChinese = {
    "列出目录内容",
    "不要忽略以点号起始的条目",
    "与 -l 同时使用时，列出每个文件的作者",
    "将无法显示的字符显示为C风格的转义形式",
    "列出目录本身，而不是目录的内容",
    "按照目录顺序列出各项目",
};

std::u16string Squeezed(std::u16string_view text) {
    std::u16string kept;
    for (const char16_t c : text) {
        if (c != u' ' && c != u'\r' && c != u'\n' && c != u'\t') {
            kept += c;
        }
    }
    return kept;
}

// The fewest edits that turn `part` into some stretch of `text`.
std::size_t EditsToAStretchOf(std::u16string_view part, std::u16string_view text) {
    std::vector<std::size_t> row(text.size() + 1, 0);  // a stretch may start anywhere
    for (std::size_t i = 1; i <= part.size(); ++i) {
        std::vector<std::size_t> next(text.size() + 1);
        next[0] = i;
        for (std::size_t j = 1; j <= text.size(); ++j) {
            next[j] = std::min(
                {row[j] + 1, next[j - 1] + 1, row[j - 1] + (part[i - 1] == text[j - 1] ? 0 : 1)});
        }
        row = std::move(next);
    }
    return *std::min_element(row.begin(), row.end());  // and end anywhere
}

struct PlainLine {
    std::u16string text;
    float confidence;
};

// The image read by Tesseract as one block, without anything of the adapter.
std::vector<PlainLine> PlainBlockReading(const std::filesystem::path& file, const char* languages) {
    tesseract::TessBaseAPI engine;
    EXPECT_EQ(engine.Init(nullptr, languages, tesseract::OEM_LSTM_ONLY), 0);
    engine.SetPageSegMode(tesseract::PSM_SINGLE_BLOCK);
    Pix* pix = pixRead(file.c_str());
    engine.SetImage(pix);
    std::vector<PlainLine> lines;
    if (engine.Recognize(nullptr) == 0) {
        const std::unique_ptr<tesseract::ResultIterator> line(engine.GetIterator());
        if (line && !line->Empty(tesseract::RIL_TEXTLINE)) {
            do {
                const std::unique_ptr<char[]> text(line->GetUTF8Text(tesseract::RIL_TEXTLINE));
                lines.push_back({Squeezed(Utf16FromUtf8(text ? text.get() : "")),
                                 line->Confidence(tesseract::RIL_TEXTLINE)});
            } while (line->Next(tesseract::RIL_TEXTLINE));
        }
    }
    engine.End();
    pixDestroy(&pix);
    return lines;
}

class LinesKeptTest : public ::testing::Test {
  protected:
    std::u16string Recognise(const std::vector<std::uint8_t>& image, const std::string& lang) {
        const auto environment = [&](const char* name) -> const char* {
            return std::string_view(name) == "LANG" ? lang.c_str() : nullptr;
        };
        const RecognitionOutcome outcome = RecognizeImageText(
            Base64(image), [&] { return CreateTesseractRecognizer(environment); });
        if (const auto* error = std::get_if<RecognitionError>(&outcome)) {
            ADD_FAILURE() << "recognition failed: " << static_cast<int>(error->failure);
            return {};
        }
        return std::get<std::u16string>(outcome);
    }

    ScratchFolder scratch;
};

TEST_F(LinesKeptTest, EveryLineOfAPlainBlockReadingIsInTheReply) {
    // Seeded images of 1 to 6 lines of real text, 12 to 36 pixels, margins of 2 to 30 pixels,
    // lines from close to far apart, dark on light and light on dark.
    const std::vector<std::string> colours = {"black,white", "#1f1f1f,#ececec", "#d8dadd,#1e1f22",
                                              "white,#2b2d31"};
    std::mt19937 random(20);
    for (int image = 0; image < 10; ++image) {
        const bool chinese = image % 3 == 2;
        const std::vector<std::string>& source = chinese ? kChinese : kEnglish;
        std::vector<std::string> lines;
        std::sample(source.begin(), source.end(), std::back_inserter(lines),
                    std::uniform_int_distribution<std::size_t>(1, 6)(random), random);
        std::shuffle(lines.begin(), lines.end(), random);
        testing::RenderOptions options;
        options.fontSize = std::uniform_int_distribution<int>(12, 36)(random);
        options.padding = std::uniform_int_distribution<int>(2, 30)(random);
        options.spacing = std::uniform_real_distribution<float>(1.15F, 2.2F)(random);
        options.colours = colours[std::uniform_int_distribution<std::size_t>(0, 3)(random)];
        const std::filesystem::path file =
            scratch.path() / ("page" + std::to_string(image) + ".png");
        const std::vector<std::uint8_t> bytes = RenderedText(file, lines, options);
        const std::u16string reply =
            Squeezed(Recognise(bytes, chinese ? "zh_CN.UTF-8" : "en_US.UTF-8"));
        for (const PlainLine& plain : PlainBlockReading(file, chinese ? "chi_sim+eng" : "eng")) {
            if (plain.text.size() < 4 || plain.confidence < 60) {
                continue;  // marks, and guesses at text too small to read plainly
            }
            EXPECT_LE(EditsToAStretchOf(plain.text, reply) * 10, plain.text.size() * 3)
                << "image " << image << " (" << options.fontSize << " px, margin "
                << options.padding << ", spacing " << options.spacing << ", " << options.colours
                << "): " << Utf16ToUtf8(plain.text) << " is not in " << Utf16ToUtf8(reply);
        }
    }
}

TEST_F(LinesKeptTest, SecondLineTheLayoutAnalysisPassesOverIsRead) {
    // 700 x 140, two lines of 32-point Chinese; at this height the engine's analysis of the
    // enlarged image finds the first line only (130 or 150 pixels high, it finds both).
    std::ifstream file(std::string(TEST_IMAGES_FOLDER) + "/second_line_zh.png", std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(Recognise(bytes, "zh_CN.UTF-8"), u"文件夹保护已启用\r\n请输入密码以继续\r\n");
}

TEST_F(LinesKeptTest, WrappedTableCellKeepsItsLinesTogether) {
    // 900 x 150, a table of two columns in 15-pixel DejaVu Sans: the middle row's name is
    // centred beside its description of three lines, which the engine reads across the row.
    std::ifstream file(std::string(TEST_IMAGES_FOLDER) + "/wrapped_cell_en.png", std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(Recognise(bytes, "en_US.UTF-8"),
              u"CMAKE_PREFIX_PATH Path to search for dependent packages\r\n"
              u"CMAKE_BUILD_TYPE\r\n"
              u"Build configuration, such as Debug or Release, determining\r\n"
              u"debug/optimization flags. This is only relevant for single-\r\n"
              u"configuration buildsystems such as Makefile and Ninja.\r\n"
              u"CMAKE_INSTALL_PREFIX Location to install the software to\r\n");
}

}  // namespace
}  // namespace glyphsnap
