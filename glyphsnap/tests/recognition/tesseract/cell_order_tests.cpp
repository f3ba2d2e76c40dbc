// The lines of a table row with a wrapped cell come in page order; all other lines as read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/cell_order.h"
#include "glyphsnap/text/utf.h"

namespace glyphsnap {
namespace {

// One line as the engine reads it: the text of the left column from x = 0, of the right one
// from x = 300. Each character and each space is 10 pixels wide, each word 20 high.
struct Line {
    int top;
    std::string left;
    std::string right;
};

ReadLine WordsOf(const Line& line) {
    ReadLine words;
    for (const auto& [start, text] : {std::pair{0, line.left}, std::pair{300, line.right}}) {
        std::size_t from = 0;
        while (from < text.size()) {
            const std::size_t end = std::min(text.find(' ', from), text.size());
            const int left = start + static_cast<int>(from) * 10;
            words.push_back(
                {Utf16FromUtf8(text.substr(from, end - from)),
                 90,
                 {left, line.top, left + static_cast<int>(end - from) * 10, line.top + 20}});
            from = end + 1;
        }
    }
    return words;
}

std::vector<std::string> TextOf(const std::vector<ReadLine>& lines) {
    std::vector<std::string> texts;
    for (const ReadLine& line : lines) {
        std::string text;
        for (const ReadWord& word : line) {
            text += (text.empty() ? "" : " ") + Utf16ToUtf8(word.text);
        }
        texts.push_back(text);
    }
    return texts;
}

struct Case {
    const char* name;
    std::vector<Line> lines;
    std::vector<std::string> expected;  // empty: the lines as read
};

const std::vector<Case> kCases = {
    {"name centred beside its three-line description",
     {{0, "CMAKE_PREFIX_PATH", "Path to search for packages"},
      {40, "", "Build configuration, such as Debug or"},
      {68, "CMAKE_BUILD_TYPE", "Release, determining debug flags for one"},
      {96, "", "configuration only."},
      {136, "CMAKE_INSTALL_PREFIX", "Location to install to"}},
     {"CMAKE_PREFIX_PATH Path to search for packages", "CMAKE_BUILD_TYPE",
      "Build configuration, such as Debug or", "Release, determining debug flags for one",
      "configuration only.", "CMAKE_INSTALL_PREFIX Location to install to"}},
    {"name at the top of its description",
     {{0, "CMAKE_PREFIX_PATH", "Path to search for packages"},
      {40, "CMAKE_BUILD_TYPE", "Build configuration, such as Debug or"},
      {68, "", "Release, determining debug flags for one"},
      {108, "CMAKE_INSTALL_PREFIX", "Location to install to"}},
     {}},
    {"both cells wrapped",
     {{0, "LC_ALL, LC_COLLATE, LANG", "Sets the collating order"},
      {40, "LC_ALL, LC_MESSAGES,", "These options select the locale for all"},
      {68, "LANG", "messages of the program, and the default"},
      {96, "", "is English."},
      {136, "LC_ALL, LC_CTYPE, LANG", "Sets the character types"}},
     {"LC_ALL, LC_COLLATE, LANG Sets the collating order", "LC_ALL, LC_MESSAGES,", "LANG",
      "These options select the locale for all", "messages of the program, and the default",
      "is English.", "LC_ALL, LC_CTYPE, LANG Sets the character types"}},
    {"two columns without a wrapped cell",
     {{0, "iOS", "iphoneos"}, {40, "tvOS", "appletvos"}, {80, "watchOS", "watchos"}},
     {}},
    {"paragraph",
     {{0, "The top-level directory containing source files provided", ""},
      {28, "by the project. The project specifies its buildsystem", ""},
      {56, "using files as described in the manual.", ""}},
     {}},
    {"dialog of labels and fields",  // the labels are no wrapped cell: one word each
     {{0, "Name:", "john"},
      {36, "Password:", ""},
      {84, "Server:", "example.org"},
      {132, "Port:", "8080"},
      {180, "Proxy:", "none"}},
     {}},
    {"two rows, the second's name beside the middle of its description",
     {{0, "CMAKE_PREFIX_PATH", "Path to search for packages"},
      {40, "", "Build configuration, such as Debug or"},
      {68, "CMAKE_BUILD_TYPE", "Release, determining debug flags for one"},
      {96, "", "configuration only."}},
     {"CMAKE_PREFIX_PATH Path to search for packages", "CMAKE_BUILD_TYPE",
      "Build configuration, such as Debug or", "Release, determining debug flags for one",
      "configuration only."}},
    // A heading above a paragraph whose words leave a strip free down two of its lines, as wide
    // as a gutter, and whose last line is short: no table, however the lines follow each other.
    {"heading and paragraph with a short last line",
     {{0, "2.4. Logins", ""},
      {40, "Each password is set by the", "passwd command, which writes"},
      {68, "its hash to /etc/shadow. Two", "files work with it, their"},
      {96, "fields split by a colon.", ""}},
     {}},
    {"Chinese heading and paragraph with a short last line",
     {{0, "口令", ""},
      {40, "系统中 每个用户的", "口令由 shadow 中的 passwd(1) 修改"},
      {68, "散列值 写入文件。", "下面的两个文件与它一起使用，"},
      {96, "字段以“:”分开。", ""}},
     {}},
    {"rows as close as the lines of a cell",
     {{0, "CMAKE_PREFIX_PATH", "Path to search for packages"},
      {28, "", "Build configuration, such as Debug or"},
      {56, "CMAKE_BUILD_TYPE", "Release, determining debug flags for one"},
      {84, "", "configuration only."},
      {112, "CMAKE_INSTALL_PREFIX", "Location to install to"}},
     {}},
};

TEST(InCellOrder, PutsWrappedCellsTogetherAndLeavesOtherTextAsRead) {
    for (const Case& table : kCases) {
        std::vector<ReadLine> lines;
        std::vector<std::string> asRead;
        for (const Line& line : table.lines) {
            lines.push_back(WordsOf(line));
            asRead.push_back(line.left.empty()    ? line.right
                             : line.right.empty() ? line.left
                                                  : line.left + " " + line.right);
        }
        EXPECT_EQ(TextOf(InCellOrder(lines)), table.expected.empty() ? asRead : table.expected)
            << table.name;
    }
}

}  // namespace
}  // namespace glyphsnap
