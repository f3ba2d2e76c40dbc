#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace glyphsnap {
namespace {

using Field =
    std::variant<int ReadingTuning::*, float ReadingTuning::*, std::uint32_t ReadingTuning::*,
                 std::size_t ReadingTuning::*, Ratio ReadingTuning::*>;

// NOLINTBEGIN(bugprone-macro-parentheses,cppcoreguidelines-macro-usage)
#define GLYPHSNAP_FIELD(name)            \
    std::pair<std::string_view, Field> { \
#name, &ReadingTuning::name      \
    }
constexpr std::array kFields{
    GLYPHSNAP_FIELD(doubtfulHalvedConfidence),
    GLYPHSNAP_FIELD(smallestHalvedSide),
    GLYPHSNAP_FIELD(doubtfulPageConfidence),
    GLYPHSNAP_FIELD(sparseReadingMargin),
    GLYPHSNAP_FIELD(doubtfulLineConfidence),
    GLYPHSNAP_FIELD(betterLineMargin),
    GLYPHSNAP_FIELD(doubtfulWordConfidence),
    GLYPHSNAP_FIELD(leastIdeographicConfidence),
    GLYPHSNAP_FIELD(leastIdeographicRunConfidence),
    GLYPHSNAP_FIELD(cropMargin),
    GLYPHSNAP_FIELD(doubtfulIdeographConfidence),
    GLYPHSNAP_FIELD(smallerIdeographReading),
    GLYPHSNAP_FIELD(largerIdeographReading),
    GLYPHSNAP_FIELD(readableLineHeight),
    GLYPHSNAP_FIELD(largestEnlargement),
    GLYPHSNAP_FIELD(smallestEnlargement),
    GLYPHSNAP_FIELD(framedLineHeight),
    GLYPHSNAP_FIELD(evenInkLines),
    GLYPHSNAP_FIELD(filledFieldDifference),
    GLYPHSNAP_FIELD(lowestFilledField),
    GLYPHSNAP_FIELD(fieldFillShare),
    GLYPHSNAP_FIELD(fieldFillSpread),
    GLYPHSNAP_FIELD(shortestRuleAcross),
    GLYPHSNAP_FIELD(shortestRuleDown),
    GLYPHSNAP_FIELD(inkDifference),
    GLYPHSNAP_FIELD(frameInkDifference),
    GLYPHSNAP_FIELD(thickestFrameStroke),
    GLYPHSNAP_FIELD(frameClearance),
    GLYPHSNAP_FIELD(frameClearanceDown),
    GLYPHSNAP_FIELD(boxSideFill),
    GLYPHSNAP_FIELD(boxInsideFill),
    GLYPHSNAP_FIELD(roundedCornerReach),
    GLYPHSNAP_FIELD(longestDottedGap),
    GLYPHSNAP_FIELD(longestTextStroke),
    GLYPHSNAP_FIELD(textStrokeOfLine),
    GLYPHSNAP_FIELD(thinnestText),
    GLYPHSNAP_FIELD(pieceEnd),
    GLYPHSNAP_FIELD(widestJoinedGap),
    GLYPHSNAP_FIELD(widestGapInLines),
    GLYPHSNAP_FIELD(widestLoneGlyph),
    GLYPHSNAP_FIELD(underscoreFill),
    GLYPHSNAP_FIELD(underscoreTop),
    GLYPHSNAP_FIELD(underscoreDepth),
    GLYPHSNAP_FIELD(underscoreGapEdge),
    GLYPHSNAP_FIELD(underscoreOverhang),
    GLYPHSNAP_FIELD(widestUnderscore),
    GLYPHSNAP_FIELD(markConfidence),
    GLYPHSNAP_FIELD(ideographicReach),
    GLYPHSNAP_FIELD(longestMark),
    GLYPHSNAP_FIELD(tallestMarkLine),
    GLYPHSNAP_FIELD(shortestTextMark),
    GLYPHSNAP_FIELD(tallestTextMark),
    GLYPHSNAP_FIELD(readOverShare),
    GLYPHSNAP_FIELD(reachingBelow),
    GLYPHSNAP_FIELD(sameInkShare),
    GLYPHSNAP_FIELD(leastLinesToSplit),
    GLYPHSNAP_FIELD(leastLinesOfTextToSplit),
    GLYPHSNAP_FIELD(leastGutterWordGaps),
    GLYPHSNAP_FIELD(tallWordShare),
    GLYPHSNAP_FIELD(roomLeftShare),
    GLYPHSNAP_FIELD(alignedShare),
    GLYPHSNAP_FIELD(leastRowPitchShare),
    GLYPHSNAP_FIELD(sideBySideShare),
    GLYPHSNAP_FIELD(runningTextPitch),
    GLYPHSNAP_FIELD(rowMarginShare),
    GLYPHSNAP_FIELD(leastRowMargin),
    GLYPHSNAP_FIELD(leastLinesAcrossAGutter),
};
#undef GLYPHSNAP_FIELD
// NOLINTEND(bugprone-macro-parentheses,cppcoreguidelines-macro-usage)

// A tuning file is a few dozen short lines; anything longer is not one.
constexpr std::size_t kLongestTuningFile = std::size_t{64} * 1024;

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The whole of `text` as a number of type T, not negative; none otherwise.
template <typename T>
bool ParseWhole(std::string_view text, T& value) {
    T parsed{};
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || error != std::errc{} || at != end) {
        return false;
    }
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(parsed)) {
            return false;
        }
    }
    if (parsed < T{}) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseWhole(std::string_view text, Ratio& value) {
    const std::size_t slash = text.find('/');
    Ratio parsed;
    if (slash == std::string_view::npos || !ParseWhole(text.substr(0, slash), parsed.numerator) ||
        !ParseWhole(text.substr(slash + 1), parsed.denominator) || parsed.denominator == 0) {
        return false;
    }
    value = parsed;
    return true;
}

void Apply(std::string_view line, ReadingTuning& tuning) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    const std::string_view name = Trimmed(line.substr(0, equals));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    for (const auto& [fieldName, field] : kFields) {
        if (fieldName == name) {
            std::visit([&](auto member) { ParseWhole(value, tuning.*member); }, field);
            return;
        }
    }
}

ReadingTuning LoadTuning() {
    const char* path = std::getenv("GLYPHSNAP_READING_TUNING");  // NOLINT(concurrency-mt-unsafe)
    if (path == nullptr || *path == '\0') {
        return {};
    }
    std::ifstream file(path, std::ios::binary);
    std::string text;
    char c = 0;
    while (text.size() <= kLongestTuningFile && file.get(c)) {
        text.push_back(c);
    }
    return text.size() > kLongestTuningFile ? ReadingTuning{} : TuningWithOverrides(text);
}

}  // namespace

ReadingTuning TuningWithOverrides(std::string_view text, ReadingTuning tuning) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.front() != '#') {
            Apply(line, tuning);
        }
    }
    return tuning;
}

const ReadingTuning& Tuning() {
    static const ReadingTuning tuning = LoadTuning();
    return tuning;
}

}  // namespace glyphsnap
