#include "glyphsnap/recognition/tesseract/layout/reading_policy.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {

// Tesseract's result iterator puts the words of right-to-left scripts in reading order, but each
// of its steps walks the page from its start: on a dense page of ten thousand words that takes
// minutes, and so does its paragraph analysis, which reads every line through it. Where every
// language reads left to right, the order on the page is the reading order: the page is walked
// once, and paragraphs, which the reply does not use, are found from the layout alone.
bool ReadsRightToLeft(std::string_view languages) {
    for (const std::string_view language : {"ara", "heb", "fas", "urd", "yid"}) {
        for (std::size_t at = languages.find(language); at != std::string_view::npos;
             at = languages.find(language, at + 1)) {
            const std::size_t end = at + language.size();
            if ((at == 0 || languages[at - 1] == '+') &&
                (end == languages.size() || languages[end] == '+')) {
                return true;
            }
        }
    }
    return false;
}

std::string IdeographicLanguageOf(std::string_view languages) {
    const std::size_t plus = languages.find('+');
    if (plus == std::string_view::npos || languages.rfind("chi_", 0) != 0) {
        return {};
    }
    return std::string(languages.substr(0, plus));
}

bool IsReadAgainHalved(bool readNothing, int confidence, std::uint32_t width,
                       std::uint32_t height) {
    return !readNothing && confidence < Tuning().doubtfulHalvedConfidence &&
           width / 2 >= Tuning().smallestHalvedSide && height / 2 >= Tuning().smallestHalvedSide;
}

bool IsPageDoubtful(int confidence) {
    return confidence < Tuning().doubtfulPageConfidence;
}

bool IsSparseReadingPreferred(int sparseConfidence, int blockConfidence) {
    return sparseConfidence > blockConfidence + Tuning().sparseReadingMargin;
}

bool IsLineDoubtful(const ReadLine& line) {
    return !line.empty() && MeanConfidence(line) < Tuning().doubtfulLineConfidence;
}

bool IsWidgetReadAsAGlyph(const ReadLine& line) {
    return line.size() == 1 && line.front().text.size() == 1 &&
           !HoldsIdeograph(line.front().text) && IsLineDoubtful(line);
}

bool IsLineReadAgain(const ReadLine& line, int pageLineHeight) {
    const WordBox box = BoxOf(line);
    return IsLineDoubtful(line) && !(IsMarkLine(line) && Tuning().tallestMarkLine.Over(
                                                             box.bottom - box.top, pageLineHeight));
}

bool IsLineReadingBetter(const ReadLine& again, const ReadLine& line) {
    const auto ideographic = [](const ReadLine& words) {
        return std::any_of(words.begin(), words.end(),
                           [](const ReadWord& word) { return HoldsIdeograph(word.text); });
    };
    return !again.empty() &&
           MeanConfidence(again) > MeanConfidence(line) + Tuning().betterLineMargin &&
           CoversWordsOf(again, line) && (ideographic(again) || !ideographic(line));
}

std::vector<ReadLine> WithLinesReadBetter(std::vector<ReadLine> lines,
                                          const std::vector<ReadLine>& again) {
    for (ReadLine& line : lines) {
        if (ReadLine words = WordsUnder(again, line); IsLineReadingBetter(words, line)) {
            line = std::move(words);
        }
    }
    return WithLinesFoundApart(std::move(lines), again);
}

bool IsDoubtedWord(const ReadWord& word) {
    return word.confidence < Tuning().doubtfulWordConfidence && !HoldsIdeograph(word.text);
}

std::optional<float> MedianHeight(std::vector<WordBox> boxes) {
    if (boxes.empty()) {
        return std::nullopt;
    }
    const auto middle = boxes.begin() + static_cast<std::ptrdiff_t>(boxes.size() / 2);
    std::nth_element(boxes.begin(), middle, boxes.end(), [](const WordBox& a, const WordBox& b) {
        return a.bottom - a.top < b.bottom - b.top;
    });
    return static_cast<float>(std::max(1, middle->bottom - middle->top));
}

std::optional<float> PageLineHeight(const std::vector<WordBox>& layoutLines,
                                    const std::vector<WordBox>& inkLines) {
    const auto thinnest = static_cast<int>(Tuning().thinnestText);
    std::vector<WordBox> textLines;
    std::copy_if(layoutLines.begin(), layoutLines.end(), std::back_inserter(textLines),
                 [&](const WordBox& line) {
                     return line.bottom - line.top >= thinnest &&
                            line.right - line.left >= thinnest;
                 });
    const std::optional<float> ofInk = MedianHeight(inkLines);
    const std::optional<float> ofLayout = MedianHeight(std::move(textLines));
    if (ofInk && ofLayout) {
        return std::min(*ofInk, *ofLayout);
    }
    return ofLayout ? ofLayout : ofInk;
}

bool AreStrokesDownText(std::uint32_t longestStroke, const std::vector<WordBox>& inkLines) {
    const std::optional<float> median = MedianHeight(inkLines);
    return longestStroke > 0 && median &&
           Tuning().textStrokeOfLine.AtMost(longestStroke, static_cast<std::int64_t>(*median));
}

bool NeedsLayoutLines(const std::vector<WordBox>& inkLines, bool framed) {
    const std::optional<float> median = MedianHeight(inkLines);
    if (framed || !median) {
        return true;
    }
    const auto tallest = std::max_element(
        inkLines.begin(), inkLines.end(),
        [](const WordBox& a, const WordBox& b) { return a.bottom - a.top < b.bottom - b.top; });
    return !Tuning().evenInkLines.AtMost(tallest->bottom - tallest->top,
                                         static_cast<std::int64_t>(*median));
}

float LineHeightWithoutFrames(float first, std::optional<float> again) {
    return again && Tuning().framedLineHeight.Over(static_cast<std::int64_t>(first),
                                                   static_cast<std::int64_t>(*again))
               ? *again
               : first;
}

float EnlargementFor(float lineHeight, std::uint32_t width, std::uint32_t height) {
    const float factor =
        std::min(Tuning().largestEnlargement, Tuning().readableLineHeight / lineHeight);
    const float largestSide = static_cast<float>(std::max(width, height));
    if (factor < Tuning().smallestEnlargement ||
        largestSide * factor > static_cast<float>(kTesseractMaxImageDimension)) {
        return 1;
    }
    return factor;
}

FrameLineLengths FrameLineLengthsFor(float lineHeight) {
    return {static_cast<std::uint32_t>(lineHeight * Tuning().shortestRuleAcross),
            static_cast<std::uint32_t>(lineHeight * Tuning().shortestRuleDown)};
}

Split SplitFor(const std::vector<WordBox>& inkLines, bool strokesAcross, unsigned cores) {
    if (cores < 2 || inkLines.size() < Tuning().leastLinesOfTextToSplit) {
        return Split::None;
    }
    if (inkLines.size() >= Tuning().leastLinesToSplit) {
        return Split::AnyWhere;
    }
    if (strokesAcross) {
        return Split::None;
    }
    for (std::size_t i = 0; i < inkLines.size(); ++i) {
        for (std::size_t k = i + 1; k < inkLines.size(); ++k) {
            if (inkLines[i].top < inkLines[k].bottom && inkLines[k].top < inkLines[i].bottom) {
                return Split::None;  // side by side
            }
        }
    }
    return Split::OutsideFrames;
}

bool IsLoneGlyph(const WordBox& piece) {
    return static_cast<float>(piece.right - piece.left) <=
           Tuning().widestLoneGlyph * static_cast<float>(piece.bottom - piece.top);
}

SecondReadingBudget::SecondReadingBudget(std::uint32_t width, std::uint32_t height)
    : left_(std::uint64_t{width} * height) {}

bool SecondReadingBudget::Take(std::uint64_t pixels) {
    if (pixels > left_) {
        return false;
    }
    left_ -= pixels;
    return true;
}

bool SecondReadingBudget::Take(const WordBox& crop) {
    return Take(static_cast<std::uint64_t>(AreaOf(crop)));
}

}  // namespace glyphsnap
