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

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"
#include "glyphsnap/recognition/text_lines.h"

namespace glyphsnap {

struct WordBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const WordBox&, const WordBox&) = default;
};

struct ReadWord {
    std::u16string text;
    float confidence = 0;  // 0 to 100
    WordBox box;
};

using ReadLine = std::vector<ReadWord>;

// True when `text` holds a Chinese, Japanese or Korean character.
bool HoldsIdeograph(std::u16string_view text);

// True when the two boxes share a pixel.
bool BoxesMeet(const WordBox& a, const WordBox& b);

// The pixels a box covers; 0 for an empty or inverted box.
std::int64_t AreaOf(const WordBox& box);

// True when a word is more than a mark: it holds a letter, a digit or an ideograph, and is at
// least as confident as the tuning's mark confidence or holds an ideograph. Only such words count
// where readings are laid over each other: a checkbox or a frame read as a letter hides no line.
bool IsMoreThanAMark(const ReadWord& word);

// True when every word of `line` that is more than a mark meets a word of `other`.
bool CoversWordsOf(const ReadLine& other, const ReadLine& line);

// True when `word` of `line` holds no letter, digit or ideograph and is no glyph of the line's
// text: a checkbox, a radio button or a bullet where it starts the line.
bool IsMarkBesideText(const ReadWord& word, const ReadLine& line);

// True when no word of the line holds a letter, a digit or an ideograph: an icon, a bullet or the
// edge of a box read alone. Such a line found only by a second reading is not taken in.
bool IsMarkLine(const ReadLine& line);

// The middle of `values` (the upper of the two middles of an even count); 0 for none.
int MedianOf(std::vector<int> values);

// The box around all words of a line.
WordBox BoxOf(const ReadLine& line);

// The mean confidence of a line's words; 0 for a line without words.
float MeanConfidence(const ReadLine& line);

// The boxes enlarged (or shrunk) `factor` times.
std::vector<WordBox> ScaledBoxes(const std::vector<WordBox>& boxes, float factor);

// The row between two text lines nearest the middle line of the page at which the lines can be
// split into two groups, one wholly above and one wholly below it, and that no frame crosses
// (`framedRows`, one flag a row, or empty); none when no such row exists.
std::optional<std::uint32_t> CutBetweenLines(const std::vector<WordBox>& lines,
                                             std::uint32_t height,
                                             const std::vector<std::uint8_t>& framedRows = {});

// True when two boxes hold the same ink: they share at least the tuning's same-ink share (half)
// of the smaller one. Words of neighbouring lines may touch; words that read one place share most
// of it.
bool HoldSameInk(const WordBox& a, const WordBox& b);

// The words of `lines` that hold the same ink as a word of `again`, as one line.
ReadLine WordsUnder(const std::vector<ReadLine>& lines, const ReadLine& again);

// `lines` with `again`, a second reading of a region of the page, in place of what they read of
// its ink: each word that holds the same ink as a word of `again` goes, lines left without words
// go, and `again` stands where the first line it replaced stood (at the end when it replaced
// none). The region is told by the ink its words cover, never by their text.
std::vector<ReadLine> WithRegionReadAgain(std::vector<ReadLine> lines, ReadLine again);

// `lines` with each word that holds the same ink as a word of an earlier line left out, and lines
// left without words: no place of the image is in the reply twice. A mark (no letter, digit or
// ideograph) on the ink of another line's word is left out whichever line comes first.
std::vector<ReadLine> WithEachPlaceOnce(std::vector<ReadLine> lines);

// True when a word of `line` meets a word of `lines`.
bool MeetsAWordOf(const std::vector<ReadLine>& lines, const ReadLine& line);

// `lines` with the lines of `other` that lie apart from all of them (no word's box meets one of
// theirs) put in, each before the first line that starts below its middle. Two readings of one
// page this way lose neither the rows one of them found nor the buttons only the other found.
std::vector<ReadLine> WithLinesFoundApart(std::vector<ReadLine> lines,
                                          const std::vector<ReadLine>& other);

// The least mean confidence at which another reading's ideographs replace a doubted word: `lone`
// for words of one ideograph (an icon beside a label is read as one, rated low), `several` for two
// or more (Chinese words of 12-pixel glyphs, rated low as well).
struct LeastIdeographicConfidence {
    float lone = 0;
    float several = 0;
};

// The number of ideographs in `words`.
std::size_t IdeographsIn(const ReadLine& words);

// `line` with each word that `doubted` picks replaced by the words of `again` (another reading
// of the same line) that lie in its box, when those hold two ideographs or more and are at least
// `least.several` confident on the whole, or hold one and are more confident than the word and at
// least `least.lone`. Words not doubted stay as they are, and a word of `again` that meets one of
// them is its reading, not a doubted word's; a word of `again` replaces at most one word. A run of
// two or more doubted words each below the mark confidence is replaced whole, by the words of
// `again` in the run's box.
template <typename Doubted>
void TakeIdeographicReadings(ReadLine& line, const ReadLine& again,
                             LeastIdeographicConfidence least, Doubted doubted);

// The lines passed on as text. Dropped: words of white space only; doubtful words without an
// ideograph (below the mark confidence, at most the longest mark's units long), but for a word of
// Latin letters between two words holding ideographs (a name in running Chinese text, which the
// mixed model rates low); a line's first word
// when it holds no letter, digit or ideograph and more words follow (a checkbox, a radio button, a
// bullet); a line's last word when it holds only strokes of a frame (|, [, ], quotes) and follows
// others; a doubtful word without an ideograph (below the mark confidence) that meets a more
// confident Chinese word of its line, a second reading of that word's ink; lines left without
// words. Chinese words are kept at any confidence: the engine rates correct ones low.
std::vector<OcrLine> TextLinesOf(const std::vector<ReadLine>& lines);

template <typename Doubted>
void TakeIdeographicReadings(ReadLine& line, const ReadLine& again,
                             LeastIdeographicConfidence least, Doubted doubted) {
    std::vector<bool> taken(again.size());
    std::vector<WordBox> keptBoxes;  // of the words not doubted
    for (const ReadWord& word : line) {
        if (!doubted(word)) {
            keptBoxes.push_back(word.box);
        }
    }
    // The words of `again` that lie in `box` (their middles inside it, reaching at most `reach`
    // past it, meeting no word not doubted), when they are a better reading than `words`.
    const auto betterReading = [&](const WordBox& box, int reach, float confidence,
                                   std::vector<std::size_t>& chosen) {
        chosen.clear();
        ReadLine inside;
        for (std::size_t k = 0; k < again.size(); ++k) {
            const ReadWord& other = again[k];
            const int middle = (other.box.left + other.box.right) / 2;
            const bool othersInk =
                std::any_of(keptBoxes.begin(), keptBoxes.end(),
                            [&](const WordBox& kept) { return BoxesMeet(kept, other.box); });
            if (!taken[k] && !othersInk && middle >= box.left && middle < box.right &&
                other.box.left >= box.left - reach && other.box.right <= box.right + reach) {
                inside.push_back(other);
                chosen.push_back(k);
            }
        }
        const float mean = MeanConfidence(inside);
        const std::size_t ideographs = IdeographsIn(inside);
        // Two ideographs or more need not be more confident than the words they replace: the
        // mixed model rates its Latin nonsense for Chinese glyphs about as high as the Chinese
        // model rates the right words (`CARA` at 50 for 出版的 at 49).
        const bool better = ideographs == 1 ? mean > confidence && mean >= least.lone
                                            : ideographs > 1 && mean >= least.several;
        if (better) {
            for (const std::size_t k : chosen) {
                taken[k] = true;
            }
        }
        return better;
    };
    ReadLine result;
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < line.size();) {
        // A run of nonsense (doubted words, each below the mark confidence) is replaced whole: the
        // good characters of the other reading may lie between its words' boxes.
        std::size_t end = i;
        while (end < line.size() && doubted(line[end]) &&
               line[end].confidence < Tuning().markConfidence) {
            ++end;
        }
        if (end - i >= 2) {
            const ReadLine run(line.begin() + static_cast<std::ptrdiff_t>(i),
                               line.begin() + static_cast<std::ptrdiff_t>(end));
            const WordBox box = BoxOf(run);
            if (betterReading(box, Tuning().ideographicReach.Of(box.bottom - box.top),
                              MeanConfidence(run), chosen)) {
                for (const std::size_t k : chosen) {
                    result.push_back(again[k]);
                }
                i = end;
                continue;
            }
        }
        ReadWord& word = line[i];
        if (doubted(word) &&
            betterReading(word.box, Tuning().ideographicReach.Of(word.box.bottom - word.box.top),
                          word.confidence, chosen)) {
            for (const std::size_t k : chosen) {
                result.push_back(again[k]);
            }
        } else {
            result.push_back(std::move(word));
        }
        ++i;
    }
    line = std::move(result);
}

}  // namespace glyphsnap
