// What Tesseract read, word by word, and which of it is passed on as text.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "glyphsnap/recognition/text_lines.h"

namespace glyphsnap {

struct WordBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct ReadWord {
    std::u16string text;
    float confidence = 0;  // 0 to 100
    WordBox box;
};

using ReadLine = std::vector<ReadWord>;

// True when `text` holds a Chinese, Japanese or Korean character.
bool HoldsIdeograph(std::u16string_view text);

// The box around all words of a line.
WordBox BoxOf(const ReadLine& line);

// The mean confidence of a line's words; 0 for a line without words.
float MeanConfidence(const ReadLine& line);

// The boxes enlarged (or shrunk) `factor` times.
std::vector<WordBox> ScaledBoxes(const std::vector<WordBox>& boxes, float factor);

// The row between two text lines nearest the middle line of the page at which the lines can be
// split into two groups, one wholly above and one wholly below it; none when no such row exists.
std::optional<std::uint32_t> CutBetweenLines(const std::vector<WordBox>& lines,
                                             std::uint32_t height);

// The boxes above and below `cut`, the lower ones moved up by it.
std::pair<std::vector<WordBox>, std::vector<WordBox>> SplitBoxes(const std::vector<WordBox>& boxes,
                                                                 std::uint32_t cut);

// True when each box meets the box of some word of `lines`.
bool AllMet(const std::vector<WordBox>& boxes, const std::vector<ReadLine>& lines);

// `lines` with the lines of `other` that lie apart from all of them (no word's box meets one of
// theirs) put in, each before the first line that starts below its middle. Two readings of one
// page this way lose neither the rows one of them found nor the buttons only the other found.
std::vector<ReadLine> WithLinesFoundApart(std::vector<ReadLine> lines,
                                          const std::vector<ReadLine>& other);

// `line` with each word that `doubted` picks replaced by the words of `again` (another reading
// of the same line) that lie in its box, when those hold an ideograph and are more confident on
// the whole, and at least `leastConfidence`. Words not doubted stay as they are.
template <typename Doubted>
void TakeIdeographicReadings(ReadLine& line, const ReadLine& again, float leastConfidence,
                             Doubted doubted);

// Below this confidence a word that holds no ideograph is taken for a mark: the box of a
// checkbox, an icon, a frame's edge read as letters.
inline constexpr float kMarkConfidence = 40;
inline constexpr std::size_t kLongestMark = 3;

// The lines passed on as text. Dropped: words of white space only; doubtful words without an
// ideograph (below kMarkConfidence, at most kLongestMark units long); a line's first word when it
// holds no letter, digit or ideograph and more words follow (a checkbox, a radio button, a bullet);
// a line's last word when it holds only strokes of a frame (|, [, ], quotes) and follows others;
// lines left without words. Chinese words are kept at any confidence: the engine rates correct ones
// low.
std::vector<OcrLine> TextLinesOf(const std::vector<ReadLine>& lines);

template <typename Doubted>
void TakeIdeographicReadings(ReadLine& line, const ReadLine& again, float leastConfidence,
                             Doubted doubted) {
    ReadLine result;
    for (ReadWord& word : line) {
        ReadLine inside;
        if (doubted(word)) {
            for (const ReadWord& other : again) {
                const int middle = (other.box.left + other.box.right) / 2;
                const int reach = (word.box.bottom - word.box.top) / 2;
                if (middle >= word.box.left && middle < word.box.right &&
                    other.box.left >= word.box.left - reach &&
                    other.box.right <= word.box.right + reach) {
                    inside.push_back(other);
                }
            }
        }
        const float confidence = MeanConfidence(inside);
        if (!inside.empty() && confidence > word.confidence && confidence >= leastConfidence &&
            std::any_of(inside.begin(), inside.end(),
                        [](const ReadWord& w) { return HoldsIdeograph(w.text); })) {
            std::move(inside.begin(), inside.end(), std::back_inserter(result));
        } else {
            result.push_back(std::move(word));
        }
    }
    line = std::move(result);
}

}  // namespace glyphsnap
