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
#include "glyphsnap/recognition/tesseract/engine/engine.h"
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

struct TableRow {
    std::string command;
    std::string description;
};

struct RenderedTable {
    const char* file;
    const char* language;
    std::vector<TableRow> rows;
};

// The rows of the Chinese tables, in their order on the page.
const std::vector<TableRow> kChineseCommands = {
    {"cp -a 源 目标", "与 -dR --preserve=all 相同，保留所有属性并递归复制"},
    {"cp --parents", "在目标目录下使用完整的源文件名"},
    {"cp -u", "仅在源文件比目标文件新，或者目标文件不存在的情况下复制"},
    {"ls -a", "不要忽略以点号起始的条目"},
    {"ls -d", "列出目录本身，而不是目录的内容"},
    {"ls -S", "按照文件大小排序，最大的最先列出"},
    {"tar -czf a.tar.gz dir", "创建一个用 gzip 压缩的归档文件，包含整个目录"},
    {"tar -tvf a.tar", "详细列出归档文件中的内容，而不解开它们"},
    {"grep -i 模式", "忽略模式和输入数据中的大小写区别"},
    {"grep -c 模式 文件", "不输出匹配的行，只输出每个文件中匹配的行数"},
    {"find . -newer 文件", "查找修改时间比给定文件更新的文件"},
    {"rm -rf 目录", "递归删除目录及其内容，不提示也不报告不存在的文件"},
    {"mkdir -p a/b/c", "需要时创建上层目录，目录已存在时不报错"},
    {"chmod 755 脚本", "设置所有者可读写执行，其他用户可读和执行"},
};

TEST_F(LinesKeptTest, EveryRowOfATallTableIsInTheReplyOnce) {
    // Tables of commands beside their descriptions as a browser renders a manual: 14-pixel
    // monospace and sans-serif, striped rows, descriptions wrapped onto two or three lines.
    const std::vector<RenderedTable> tables = {
        {"tall_table_en.png",  // 556 x 996, 14 rows
         "en_US.UTF-8",
         {
             {"git stash push -m wip",
              "Save uncommitted changes under a message and clean the working tree."},
             {"tar -czf backup.tar.gz src/",
              "Create a gzip-compressed archive of the src directory."},
             {"tar -xvf archive.tar -C /opt",
              "Extract an archive verbosely into the given directory."},
             {"find . -name '*.log' -mtime +7",
              "List log files below the current directory that were modified more than a week "
              "ago."},
             {"find /var -type f -size +100M",
              "Find regular files larger than one hundred megabytes."},
             {"grep -rn TODO --include=*.py",
              "Search Python files recursively for TODO and print line numbers."},
             {"grep -v '^#' config.ini",
              "Print every line that does not start with a comment sign."},
             {"apt list --upgradable",
              "Show the installed packages for which a newer version is available."},
             {"apt-get install --no-install-recommends",
              "Install packages without pulling in the recommended ones, keeping the system "
              "small."},
             {"rsync -avz --delete src/ host:dst/",
              "Mirror a directory to a remote host, removing files that no longer exist at the "
              "source."},
             {"chmod -R go-w shared/",
              "Remove write permission for group and others throughout the directory tree."},
             {"du -sh * | sort -h",
              "Summarise the disk usage of each entry and sort the sizes in human-readable order."},
             {"ssh -L 8080:localhost:80 host",
              "Forward local port 8080 to port 80 on the remote machine."},
             {"sed -i 's/foo/bar/g' notes.txt",
              "Replace every occurrence of foo with bar in the file, editing it in place."},
         }},
        {"tall_table_zh.png",  // 436 x 525, the last 12 rows
         "zh_CN.UTF-8",
         {kChineseCommands.begin() + 2, kChineseCommands.end()}},
        // Cell borders; where the mixed model reads a description as one Latin word reaching
        // over the cell's wrapped second line, that word is read again in its own row.
        {"bordered_table_zh.png", "zh_CN.UTF-8", kChineseCommands},  // 516 x 523, 14 rows
        // 1090 x 358, 13 rows of four cells, each cell framed by 1-pixel grey borders two pixels
        // from its neighbours' (HTML's border="1"); names in blue monospace, 15-pixel text.
        {"bordered_packages_en.png",
         "en_US.UTF-8",
         {
             {"coreutils V:880, I:999 18307", "basic file, shell and text manipulation tools"},
             {"findutils V:702, I:998 1993", "utilities for finding files by name and attributes"},
             {"grep V:821, I:999 1264", "searches files for lines that match patterns"},
             {"sed V:790, I:999 883", "the stream editor that rewrites text as it passes"},
             {"gawk V:311, I:402 2660", "pattern scanning and processing language"},
             {"tar V:606, I:999 3144", "archiving program for tape and disk archives"},
             {"gzip V:512, I:998 244", "compression tool using the deflate algorithm"},
             {"xz-utils V:480, I:912 1172", "command line tools for xz and lzma files"},
             {"rsync V:210, I:388 776", "fast and versatile remote file copying tool"},
             {"openssh-client V:575, I:996 5340", "secure shell client for remote logins"},
             {"less V:343, I:912 394", "pager that shows text one screen at a time"},
             {"procps V:702, I:992 2136", "small utilities that report on running processes"},
             {"util-linux V:899, I:999 4879",
              "miscellaneous system utilities for disks and clocks"},
         }},
    };
    for (const RenderedTable& table : tables) {
        std::ifstream file(std::string(TEST_IMAGES_FOLDER) + "/" + table.file, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        ASSERT_FALSE(bytes.empty()) << table.file;
        const std::u16string reply = Squeezed(Recognise(bytes, table.language));
        std::size_t tableLength = 0;
        for (const TableRow& row : table.rows) {
            for (const std::string& cell : {row.command, row.description}) {
                const std::u16string text = Squeezed(Utf16FromUtf8(cell));
                tableLength += text.size();
                EXPECT_LE(EditsToAStretchOf(text, reply) * 5, text.size())
                    << table.file << ": " << cell << " is not in " << Utf16ToUtf8(reply);
            }
        }
        // A row read twice (by the first reading and again from a crop) makes the reply longer.
        EXPECT_LE(reply.size() * 20, tableLength * 21) << table.file << ": " << Utf16ToUtf8(reply);
    }
}

}  // namespace
}  // namespace glyphsnap
