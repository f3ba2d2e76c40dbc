// The rules by which the Tesseract recognizer reads a page: when a reading is doubtful and the
// page is read again, which language re-reads a line, how much a page is enlarged, where frames
// are taken out and when a page is split between two engines. Plain C++, without the engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "glyphsnap/recognition/tesseract/words.h"

namespace glyphsnap {

// The largest side handed to Tesseract. It refuses sides above 32767; 10000 is the limit of the
// Windows engine as well, so both builds scale the same images the same way, and a bitmap that
// passes the limit by the tolerated 1 % stays far below Tesseract's own.
inline constexpr std::uint32_t kTesseractMaxImageDimension = 10000;

// True when one of the Tesseract languages of `languages` ("eng+ara") reads right to left.
bool ReadsRightToLeft(std::string_view languages);

// The first language of a Chinese profile with others behind it ("chi_sim" of "chi_sim+eng"),
// else nothing: a profile of one language has no other model to ask.
std::string IdeographicLanguageOf(std::string_view languages);

// True when a page read with this mean word confidence is read again at half size, the more
// confident reading winning. Tesseract misreads glyphs that the enlargement for small images has
// made very large (a single line of Chinese becomes Latin nonsense at about 45, while a good
// reading scores above 90). A page whose half would be too small to read, or an empty reading,
// is not read again.
bool IsReadAgainHalved(bool readNothing, int confidence, std::uint32_t width, std::uint32_t height);

// True when a reading as one block is confident enough to be kept without a reading as sparse
// text, provided it met every text line of the layout analysis.
bool IsBlockReadingConfident(int confidence);

// True when the sparse reading replaces the block's rows; otherwise the block stands, with the
// lines the sparse reading found apart from its words.
bool IsSparseReadingPreferred(int sparseConfidence, int blockConfidence);

// True when a word, in a Chinese profile, makes its line worth reading again with the Chinese
// model alone: a doubtful word without any ideograph.
bool IsDoubtedWord(const ReadWord& word);

// A Chinese reading replaces a doubtful word only from this confidence on: icons beside a label
// are read as ideographs too, rated lower.
inline constexpr float kLeastIdeographicConfidence = 60;
// At most this many lines of a page are read again, each with this margin around its words.
inline constexpr std::size_t kMostLinesReadAgain = 40;
inline constexpr int kLineMargin = 4;

// The median height of the text lines the layout analysis found (at least 1); none without any.
std::optional<float> MedianHeight(std::vector<WordBox> boxes);

// How much a page of `width` x `height` with text lines `lineHeight` high grows for its lines to
// reach the height Tesseract reads best; 1 when they are high enough, or when the page would
// grow past the largest side.
float EnlargementFor(float lineHeight, std::uint32_t width, std::uint32_t height);

// The shortest strokes taken out as frames and rules before reading, for text lines
// `lineHeight` high.
struct FrameLineLengths {
    std::uint32_t across = 0;
    std::uint32_t down = 0;
};
FrameLineLengths FrameLineLengthsFor(float lineHeight);

// True when a page of `width` x `height` (as it came, before any enlargement) with
// `layoutLines` text lines is split between two engines, on a machine with `cores` cores.
bool IsSplitWorthwhile(std::uint32_t width, std::uint32_t height, std::size_t layoutLines,
                       unsigned cores);

}  // namespace glyphsnap
