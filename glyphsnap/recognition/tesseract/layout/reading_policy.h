// The rules by which the Tesseract recognizer reads a page: when a reading is doubtful and what
// is read again, which language re-reads a word, how much a page is enlarged, where frames are
// taken out and when a page is split between two engines. Plain C++, without the engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/words.h"

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

// True when a page read with this mean word confidence is read again whole as sparse text.
bool IsPageDoubtful(int confidence);

// True when the sparse reading of a doubtful page replaces the lines it reads better
// (WithLinesReadBetter); otherwise the first reading stands, with the lines the sparse reading
// found apart from its words.
bool IsSparseReadingPreferred(int sparseConfidence, int blockConfidence);

// `lines` with each line that `again`, another reading of the whole page, reads better (as
// IsLineReadingBetter tells) replaced by the words of `again` on its ink, and the lines of
// `again` that lie apart from all of them put in. A reading more confident on the whole may
// still break a paragraph's lines into pieces it reads worse, so it replaces line by line.
std::vector<ReadLine> WithLinesReadBetter(std::vector<ReadLine> lines,
                                          const std::vector<ReadLine>& again);

// True when a line of the first reading is doubtful enough to be read again alone, as sparse
// text in a crop of its own: frames, list boxes and rows of buttons break a block apart.
bool IsLineDoubtful(const ReadLine& line);

// True when a line of a sparse reading of the whole page is a widget, not text: one glyph without
// an ideograph, doubtful. The sparse reading picks a dialog's widgets out one by one (a slider's
// knob read as `a`, an icon's edge); a glyph of text is read with its neighbours, or confidently.
bool IsWidgetReadAsAGlyph(const ReadLine& line);

// True when a doubtful line is read again in a crop, given the median height of the page's lines:
// every one but a line of marks alone more than the tuning's tallest mark line times that high, a
// picture read as a mark (a program's logo read as `¢`). Its crop is the picture with the rows of
// text beside it, whose reading would stand for the one line, and it spends the budget that the
// doubtful lines after it need.
bool IsLineReadAgain(const ReadLine& line, int pageLineHeight);

// True when the crop's reading `again` of a doubtful line replaces the line: clearly more
// confident, with a word wherever the line has more than a doubtful mark, so that no word is
// lost to a reading that passed over it, and with Chinese where the line has Chinese: the
// mixed model reads dense Chinese in a crop as confident Latin nonsense.
bool IsLineReadingBetter(const ReadLine& again, const ReadLine& line);

// True when a word, in a Chinese profile, is read again with the Chinese model alone: a
// doubtful word without any ideograph.
bool IsDoubtedWord(const ReadWord& word);

// What the second readings of a request may still read, in pixels: at most what the first
// reading read, so that no second reading costs more than the first.
class SecondReadingBudget {
  public:
    SecondReadingBudget(std::uint32_t width, std::uint32_t height);
    // True, and the pixels counted, when they still fit.
    bool Take(std::uint64_t pixels);
    bool Take(const WordBox& crop);

  private:
    std::uint64_t left_;
};

// The median height of the text lines the layout analysis found (at least 1); none without any.
std::optional<float> MedianHeight(std::vector<WordBox> boxes);

// The height of the page's text lines: the smaller of the medians of the layout's lines that are
// text and of the ink's lines. A layout line thinner than the thinnest text either way is the edge
// of a frame or a rule taken for a line: in a dialog of many frames they are most of its lines,
// and a height of one pixel would take every glyph's stroke for a frame and enlarge the page to
// the largest factor. A layout line may also hold a whole group box or button with its frame,
// several text lines high; the ink's lines leave frames out, so the smaller median is the text's.
std::optional<float> PageLineHeight(const std::vector<WordBox>& layoutLines,
                                    const std::vector<WordBox>& inkLines);

// Whether the strokes down longer than a screen's text has, the longest `longestStroke` pixels
// (0 for none), are the stems of glyphs drawn large rather than frames: none is much longer than
// the ink's lines are high. A label enlarged before it is read has stems longer than a dialog's
// frames.
bool AreStrokesDownText(std::uint32_t longestStroke, const std::vector<WordBox>& inkLines);

// Whether the engine's layout analysis has to measure the page's text lines with its ink's lines:
// on a page without frames whose ink lines are all of about one height the ink's lines alone
// measure them. Frames make the ink's lines as tall as their boxes, and lines set too tight to
// leave a blank row between them run together into one tall ink line.
bool NeedsLayoutLines(const std::vector<WordBox>& inkLines, bool framed);

// The height of the text lines measured again once the frames are gone, `again`, when it is at
// most the tuning's share of the first measure: the sides of a dialog's buttons and input boxes
// make its ink's lines as tall as the boxes, and its text is smaller than the page first seemed.
// Otherwise the first measure.
float LineHeightWithoutFrames(float first, std::optional<float> again);

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

// True when a piece of an ink line is no wider than one glyph of its height (an icon, a bullet, a
// lone sign such as ">"): when its crop reads as nothing, or as marks only, it is a mark, and the
// page is not read again for it.
bool IsLoneGlyph(const WordBox& piece);

// Whether an image with these pieces of ink lines is spread over two engines, one band of rows
// each, on a machine with `cores` cores: from six pieces on, cut between any two lines; from
// three, when they are lines of text (each alone in its rows, and no piece holds a stroke across
// as long as a frame's edge, `strokesAcross`): a paragraph, a list or code, not the labels,
// fields and buttons of a dialog; then cut only where no frame crosses.
enum class Split { None, AnyWhere, OutsideFrames };
Split SplitFor(const std::vector<WordBox>& inkLines, bool strokesAcross, unsigned cores);

}  // namespace glyphsnap
