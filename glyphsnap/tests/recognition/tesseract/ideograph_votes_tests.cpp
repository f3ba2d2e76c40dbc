// Ideographs that other readings of a line agree on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/ideograph_votes.h"

namespace glyphsnap {
namespace {

// One line of words, each with its confidence; the boxes play no part in the vote.
ReadLine Line(const std::vector<std::pair<std::u16string, float>>& words) {
    ReadLine line;
    for (const auto& [text, confidence] : words) {
        line.push_back({text, confidence, {}});
    }
    return line;
}

std::u16string TextOf(const ReadLine& line) {
    std::u16string text;
    for (const ReadWord& word : line) {
        text += word.text + u'|';
    }
    return text;
}

TEST(IdeographVotes, ADoubtfulIdeographTakesWhatEveryOtherReadingPutsInItsPlaceMoreSurely) {
    // The first reading of a Wine dialog's label: 窗 misread as 辆 at 7, the doubted words
    // below 40.
    const ReadLine first = Line({{u"允许", 89}, {u"辆", 7}, {u"口", 62}, {u"管理", 97}});
    struct Case {
        const char* what;
        std::vector<ReadLine> others;
        std::u16string expected;
    };
    const std::vector<Case> cases{
        {"both agree, more sure",
         {Line({{u"允许窗口管理", 80}}), Line({{u"允许", 90}, {u"窗口", 60}, {u"管理", 90}})},
         u"允许|窗|口|管理|"},
        {"one more glyph read before it",
         {Line({{u"[|允许窗口管理", 80}}), Line({{u"允许窗口管理", 80}})},
         u"允许|窗|口|管理|"},
        {"they disagree",
         {Line({{u"允许窗口管理", 80}}), Line({{u"允许希口管理", 80}})},
         u"允许|辆|口|管理|"},
        {"one is less sure than the first reading",
         {Line({{u"允许窗口管理", 80}}), Line({{u"允许", 90}, {u"窗", 5}, {u"口管理", 90}})},
         u"允许|辆|口|管理|"},
        {"they put a letter in its place",
         {Line({{u"允许a口管理", 80}}), Line({{u"允许a口管理", 80}})},
         u"允许|辆|口|管理|"},
        {"they leave it out",
         {Line({{u"允许口管理", 80}}), Line({{u"允许口管理", 80}})},
         u"允许|辆|口|管理|"},
        {"no other reading", {}, u"允许|辆|口|管理|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TextOf(WithIdeographsOthersAgreeOn(first, c.others, 40)), c.expected);
    }
}

TEST(IdeographVotes, SureWordsAndLettersKeepTheirReading) {
    // 口 at 62 is above the doubtful confidence; `a` of a doubtful word is no ideograph.
    const ReadLine first = Line({{u"口", 62}, {u"a辆", 7}});
    const std::vector<ReadLine> others{Line({{u"日b窗", 90}}), Line({{u"日b窗", 90}})};
    EXPECT_EQ(TextOf(WithIdeographsOthersAgreeOn(first, others, 40)), u"口|a窗|");
}

}  // namespace
}  // namespace glyphsnap
