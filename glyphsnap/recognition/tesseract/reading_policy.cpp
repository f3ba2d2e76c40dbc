#include "glyphsnap/recognition/tesseract/reading_policy.h"

#include <algorithm>
#include <iterator>

namespace glyphsnap {
namespace {

// Below this mean word confidence a reading is doubted; a half narrower or lower than this is
// not read.
constexpr int kDoubtfulConfidence = 60;
constexpr std::uint32_t kSmallestHalvedSide = 32;

// A page below this mean word confidence is read again whole as sparse text; that reading
// replaces the first only when it is this much more confident.
constexpr int kDoubtfulPageConfidence = 80;
constexpr int kSparseReadingMargin = 5;

// A line of the first reading below this mean word confidence is read again; the crop's reading
// replaces it when it is this much more confident.
constexpr float kDoubtfulLineConfidence = 80;
constexpr float kBetterLineMargin = 5;

// A word below this confidence without any ideograph is read again by the Chinese model alone,
// in a Chinese profile.
constexpr float kDoubtfulWordConfidence = 85;

// Tesseract reads screen text best with text lines of about this height in pixels; 12 to 16
// pixel fonts on a screen give lines of 14 to 20, read with many more mistakes. Lines from about
// 21 pixels on are read as well as enlarged ones, and are left as they are: enlarging a full
// page costs more time than the layout analysis that measures it.
constexpr float kReadableLineHeight = 32;
constexpr float kLargestEnlargement = 3;
constexpr float kSmallestEnlargement = 1.6F;

// Frames and rules are taken out before reading, so that the block of a dialog is read as text
// and not as a picture: straight thin strokes at least this many text lines long. Text holds
// none so long (a horizontal stroke spans one character, a vertical one a line's height).
constexpr float kShortestRuleAcross = 3;
constexpr float kShortestRuleDown = 1.3F;

// An image is spread over two engines from this many pieces of text lines on, whatever its
// size: below, the second engine's share would not pay for handing it over.
constexpr std::size_t kLeastLinesToSplit = 6;
// Lines of text alone in their rows are worth it from this many on.
constexpr std::size_t kLeastLinesOfTextToSplit = 3;

// A piece up to this many times as wide as high holds at most one glyph (a full-width ideograph
// is about as wide as high).
constexpr float kWidestLoneGlyph = 1.5F;

}  // namespace

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
    return !readNothing && confidence < kDoubtfulConfidence && width / 2 >= kSmallestHalvedSide &&
           height / 2 >= kSmallestHalvedSide;
}

bool IsPageDoubtful(int confidence) {
    return confidence < kDoubtfulPageConfidence;
}

bool IsSparseReadingPreferred(int sparseConfidence, int blockConfidence) {
    return sparseConfidence > blockConfidence + kSparseReadingMargin;
}

bool IsLineDoubtful(const ReadLine& line) {
    return !line.empty() && MeanConfidence(line) < kDoubtfulLineConfidence;
}

bool IsLineReadingBetter(const ReadLine& again, const ReadLine& line) {
    const auto ideographic = [](const ReadLine& words) {
        return std::any_of(words.begin(), words.end(),
                           [](const ReadWord& word) { return HoldsIdeograph(word.text); });
    };
    return !again.empty() && MeanConfidence(again) > MeanConfidence(line) + kBetterLineMargin &&
           CoversWordsOf(again, line) && (ideographic(again) || !ideographic(line));
}

bool IsDoubtedWord(const ReadWord& word) {
    return word.confidence < kDoubtfulWordConfidence && !HoldsIdeograph(word.text);
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

float EnlargementFor(float lineHeight, std::uint32_t width, std::uint32_t height) {
    const float factor = std::min(kLargestEnlargement, kReadableLineHeight / lineHeight);
    const float largestSide = static_cast<float>(std::max(width, height));
    if (factor < kSmallestEnlargement ||
        largestSide * factor > static_cast<float>(kTesseractMaxImageDimension)) {
        return 1;
    }
    return factor;
}

FrameLineLengths FrameLineLengthsFor(float lineHeight) {
    return {static_cast<std::uint32_t>(lineHeight * kShortestRuleAcross),
            static_cast<std::uint32_t>(lineHeight * kShortestRuleDown)};
}

Split SplitFor(const std::vector<WordBox>& inkLines, bool strokesAcross, unsigned cores) {
    if (cores < 2 || inkLines.size() < kLeastLinesOfTextToSplit) {
        return Split::None;
    }
    if (inkLines.size() >= kLeastLinesToSplit) {
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
           kWidestLoneGlyph * static_cast<float>(piece.bottom - piece.top);
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
    const auto side = [](int from, int to) {
        return static_cast<std::uint64_t>(std::max(0, to - from));
    };
    return Take(side(crop.left, crop.right) * side(crop.top, crop.bottom));
}

}  // namespace glyphsnap
