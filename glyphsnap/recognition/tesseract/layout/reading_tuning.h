// Every tuned number of the Tesseract recognizer, in one table: what it is, why it has its value
// and what set it. The defaults are the numbers the recognizer was measured with; an evaluation
// can override any of them without a rebuild (a file named by GLYPHSNAP_READING_TUNING, lines of
// `name=value`), so that a sweep over one number reads the same images with each of its values.
// Each number says what it was set on; where it names no figure, it was set by hand on the
// screenshots of the evaluation set as it then was, and no sweep of it is on record yet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace glyphsnap {

// A ratio of whole numbers, kept as one so that comparisons of pixel counts stay exact:
// `a * denominator >= b * numerator` is "a is at least numerator / denominator of b".
struct Ratio {
    int numerator = 1;
    int denominator = 1;
    // `value` times the ratio, rounded toward zero.
    int Of(int value) const { return value * numerator / denominator; }
    // Whether `part` is at least, more than or at most the ratio of `whole` (areas in pixels
    // included, hence the width).
    bool AtLeast(std::int64_t part, std::int64_t whole) const {
        return part * denominator >= whole * numerator;
    }
    bool Over(std::int64_t part, std::int64_t whole) const {
        return part * denominator > whole * numerator;
    }
    bool AtMost(std::int64_t part, std::int64_t whole) const {
        return part * denominator <= whole * numerator;
    }
};

struct ReadingTuning {
    // --- When a reading is doubted and read again (the page, a line, a word) ---

    // A page read below this mean word confidence is read again at half size. A single line of
    // Chinese enlarged very large reads as Latin nonsense at about 45; a good reading scores
    // above 90.
    int doubtfulHalvedConfidence = 60;
    // A half narrower or lower than this many pixels is not read: too small to hold a line.
    std::uint32_t smallestHalvedSide = 32;
    // A page read below this mean word confidence is read again whole as sparse text ...
    int doubtfulPageConfidence = 80;
    // ... and that reading replaces the first only when it is this many points more confident.
    int sparseReadingMargin = 5;
    // A line of the first reading below this mean word confidence is read again in a crop ...
    float doubtfulLineConfidence = 80;
    // ... and the crop's reading replaces it when it is this many points more confident.
    float betterLineMargin = 5;
    // In a Chinese profile, a word below this confidence without an ideograph is read again by
    // the Chinese model alone: the mixed model reads dense Chinese as Latin words rated 60 to 90.
    // From 85 to 90, three tuning images and two held out read better (`wine_msiexec_zh` 21.0 to
    // 20.4 %, `man_notation_zh` 7.4 to 6.5 %), none worse; at 95 a Wine dialog read worse.
    float doubtfulWordConfidence = 90;
    // A Chinese reading replaces a doubtful word only from this confidence on: icons beside a
    // label are read as ideographs too, rated lower; dense runs of correct ideographs are rated
    // from about 40 on.
    float leastIdeographicConfidence = 40;
    // Two ideographs or more replace it from this confidence on: an icon reads as one, and a
    // Wine dialog's 12-pixel labels, read as Latin nonsense by the mixed model, read as Chinese
    // words rated 25 to 40 by the Chinese model alone. Two dialogs of the tuning part went from
    // 24.5 to 21.4 and 27.4 to 24.5 %, no image worse; 10, 18 and 25 read the same. Taken for a
    // lone ideograph as well, 25 put a file icon's reading before its name on the held-out part.
    float leastIdeographicRunConfidence = 25;
    // Each crop read again has this margin in pixels around what it reads.
    int cropMargin = 4;
    // On a doubtful page in a Chinese profile, a line with an ideographic word below this
    // confidence is read again by the Chinese model alone at two other sizes (these times the
    // page's), and each ideograph of such a word becomes the one both readings put in its place,
    // each more confident. The model misreads a dense 12-pixel ideograph at one size and reads it
    // right at others: 窗 came back as 辆 and 鲍 in a Wine dialog. Three tuning dialogs read
    // better (`wine_graphics_zh` 18.4 to 17.3 %), no image worse, the held-out part unchanged;
    // 30, 50 and 70 read the same. Without the rule that both are more confident, 50 put 委 for a
    // right 表 in Brambolt's main window. Read on every page, the real documentation took a
    // seventh more time and read no better.
    float doubtfulIdeographConfidence = 40;
    float smallerIdeographReading = 0.8F;
    float largerIdeographReading = 1.25F;

    // --- Enlargement ---

    // Tesseract reads screen text best with text lines of about this height in pixels; 12 to
    // 16 pixel fonts give lines of 14 to 20, read with many more mistakes.
    float readableLineHeight = 32;
    // A page grows at most this many times ...
    float largestEnlargement = 3;
    // ... and not at all below this factor: lines from about 21 pixels on read as well as
    // enlarged ones, and enlarging a full page costs more than the layout analysis measuring it.
    float smallestEnlargement = 1.6F;
    // The text lines are measured again once the frames are gone, and that measure counts when
    // the first is more than this many times it: a Wine dialog of 12-pixel glyphs (11-pixel ink
    // lines) measured 21 with its buttons' sides and was not enlarged. Each measure moves by a
    // pixel or two with the frames alone, and taking every smaller one changed the scale of pages
    // measured right and their readings by chance, made windows better and worse.
    Ratio framedLineHeight{4, 3};
    // A page without frames whose tallest ink line is at most this many times their median is
    // measured by its ink's lines alone, without the engine's layout analysis (a 20-line page of
    // text went from 304 to 283 ms). The layout's lines of such pages measured a pixel or two less
    // than the ink's on 9 of the 117 evaluation images, all Chinese; their readings moved by
    // chance, better on 4, worse on 4, the means equal or better on both parts.
    Ratio evenInkLines{3, 2};

    // --- Filled fields (a selected entry's white text on blue) ---

    // A field's fill is darker than the page's commonest level by more than this: the blue of
    // GTK's selection lies about 125 below its light page, a field's light grey about 20. Set
    // with the next three on the evaluation's window screenshots, where it reads the selected
    // entries and changes no other image.
    int filledFieldDifference = 80;
    // A field is at least this many pixels high: a selected line of 12-pixel text is about 17,
    // a frame's stroke or a glyph's bar is thinner.
    std::uint32_t lowestFilledField = 10;
    // At least this share of a field's box is its fill, and of its fill lies within ...
    Ratio fieldFillShare{3, 5};
    // ... this many levels of its commonest level: a gradient or a picture spreads wider.
    int fieldFillSpread = 12;

    // --- Frames, rules and the ink ---

    // Frames and rules taken out before reading are at least this many text lines long across
    // and down: a stroke of text spans one character across, a line's height down.
    float shortestRuleAcross = 3;
    float shortestRuleDown = 1.3F;
    // Ink differs from the background by more than this; antialiased edges of text may not.
    int inkDifference = 40;
    // A frame's stroke differs from the background by more than this: what is fainter
    // Tesseract's own threshold leaves out as well.
    int frameInkDifference = 40;
    // A frame's stroke is at most this many pixels thick: a button's 3-D edge is two lines side
    // by side, a table drawn with border="1" has each cell's border two pixels from its
    // neighbour's.
    std::uint32_t thickestFrameStroke = 5;
    // A frame's stroke has at least this much background on either side: the strokes of dense
    // glyphs (Chinese at 12 pixels) lie a pixel apart, the borders of neighbouring cells two.
    std::uint32_t frameClearance = 2;
    // Strokes down need this much unless both their ends meet a stroke across (a cell's sides):
    // the two strokes down of 刂 are as long as a short frame's side, and two pixels apart.
    std::uint32_t frameClearanceDown = 3;
    // A box's side (a table cell's own border, a field's, a code block's) is drawn along at least
    // this share of the box, its rounded corners left out (a line down of a ruled table crosses
    // this share of its row) ...
    Ratio boxSideFill{19, 20};
    // ... and the line inside it along at most this share: a filled box (a button, a selected
    // row) is no frame. Only boxes that are the cells of a table lose their sides: taking out
    // every such box (fields, swatches, group boxes) made the held-out window screenshots 1.6
    // points worse, English.
    Ratio boxInsideFill{1, 2};
    // A group box's rounded corner reaches this many pixels up and right from the top of its
    // side to its top, where the stub left of the box's title starts.
    std::uint32_t roundedCornerReach = 3;
    // A dotted stroke (a focus rectangle) has gaps of at most this many pixels.
    std::uint32_t longestDottedGap = 1;
    // The ink's own lines leave out strokes down longer than any stroke of text on a screen:
    // frames and table borders.
    std::uint32_t longestTextStroke = 48;
    // ... unless no stroke down on the page is longer than this many times the median height of
    // its ink's lines: the stems of text drawn large, such as a 300 x 60 label enlarged to 200
    // rows before it is read, whose stems of up to 66 rows made it a framed page measured by the
    // layout analysis (4 of its 27 ms). Its stems reach 0.84 times its 79-row line; a frame's
    // side around one line of text is about 1.4 times it (a table's cell) or more (a button).
    Ratio textStrokeOfLine{5, 4};
    // Runs of fewer rows of ink are rules or the edges of boxes, not text ...
    std::uint32_t thinnestText = 4;
    // ... and so is a piece with fewer in its middle, leaving out this share of its width at each
    // end: the top edge of a code box with rounded corners and a shadow is 2 rows across and 9
    // rows at its corners, and became a missed piece that had the whole page read again.
    Ratio pieceEnd{1, 8};
    // A gap of more than this many line heights splits an ink line into pieces.
    std::uint32_t widestGapInLines = 2;
    // Missed pieces side by side in one row are read as one crop up to a gap of this many line
    // heights between them: a lone brace and a button at the far end of a code box's last row
    // read nothing as one crop, and the whole page was read again for them.
    std::uint32_t widestJoinedGap = 8;
    // A piece up to this many times as wide as high holds at most one glyph (a full-width
    // ideograph is about as wide as high).
    float widestLoneGlyph = 1.5F;

    // --- Underscores read as spaces ---

    // The engine reads `FILE_SET` of a code block as `FILE SET` about one time in three. A gap
    // between two words holds an underscore when a stroke fills at least this share of it ...
    Ratio underscoreFill{3, 4};
    // ... lying from this share of the words' height down from their top ...
    Ratio underscoreTop{2, 3};
    // ... to at most this share of it below their foot, and at most as thick (two pixels at
    // least), the words' feet no further apart ...
    Ratio underscoreDepth{1, 3};
    // ... with nothing else in the gap, leaving out this share of its width at each side, where
    // the glyphs' antialiased edges reach in ...
    Ratio underscoreGapEdge{1, 4};
    // ... running under the words on either side by at most this share of their height (an
    // underscore's cell reaches past the letters' ink by its side bearings; an underlined link's
    // line runs under whole words) ...
    Ratio underscoreOverhang{1, 4};
    // ... in a gap at most this many times as wide as the words are high: a column's gutter is
    // wider. Set together on the tuning part's code blocks and tables, where they join 12 pairs
    // of words the engine took apart at an underscore and no others; a stroke under a line's
    // words in another row (a table's next cell) was taken for one until the words had to share
    // their foot.
    Ratio widestUnderscore{2, 1};

    // --- Marks ---

    // Below this confidence a word without an ideograph is taken for a mark: a checkbox, an
    // icon, a frame's edge read as letters ...
    float markConfidence = 40;
    // ... when it is at most this many units long.
    std::size_t longestMark = 3;
    // A line's first or last mark is a glyph of its text, kept, when its box is at least this
    // share of the median height of the line's words ... Braces, brackets and the slashes of a
    // comment in code are 1 to 1.2 times as tall as their line's words, bullets under half.
    Ratio shortestTextMark{4, 5};
    // ... and at most this share: the edge of a field or button beside its label runs past the
    // text by three times its height.
    Ratio tallestTextMark{3, 2};
    // A doubtful Latin word is the same ink as an ideographic word read over it when at least
    // this share of its width lies within the ideographic word's box (`MBAs.` over 加密, a
    // sixth); the boxes of words side by side touch by a pixel or two, and a doubtful `(LGPL)`
    // whose box reached a pixel into that of 协议 before it went for it, in a reading of Wine's
    // About box with its logo taken out. No reply of the evaluation set changes.
    Ratio readOverShare{1, 10};
    // A doubtful line of marks alone more than this many times as high as the page's lines is a
    // picture, not read again: in a Wine dialog its logo, read as `¢` beside the text, grew to a
    // crop of half the page, which the two lines beside it each read again, spending the budget
    // of the crops for the paragraph below. Set together with reading a crop that several lines
    // grow to once: one Chinese dialog went from 36.2 to 29.0 % on the tuning part, the English
    // one from 7.7 to 6.3 % held out, and no image changed otherwise; 2 and 6 read the same.
    Ratio tallestMarkLine{3, 1};
    // A Chinese re-reading's words replace a doubtful word when they reach at most this share of
    // its height past its box: another reading of one line places its words a little apart.
    Ratio ideographicReach{1, 2};
    // A doubtful line whose box is more than this many times as high as its sure words' reaches
    // over the line below, and is read again in the sure words' rows.
    Ratio reachingBelow{3, 2};

    // --- One reading per piece of ink ---

    // Two boxes hold the same ink, two readings of one place of which the reply keeps one, when
    // they share at least this share of the smaller one: words of neighbouring lines may touch,
    // words that read one place share most of it.
    Ratio sameInkShare{1, 2};

    // --- Two engines ---

    // An image is spread over two engines from this many pieces of text lines on, whatever its
    // size: below, the second engine's share would not pay for handing it over ...
    std::size_t leastLinesToSplit = 6;
    // ... and from this many when they are lines of text alone in their rows.
    std::size_t leastLinesOfTextToSplit = 3;

    // --- The cell order ---

    // A column gutter is wider than a line's height and than this many word gaps.
    int leastGutterWordGaps = 2;
    // A word counts for a line's top when it is at least this share of the line's tallest.
    Ratio tallWordShare{4, 5};
    // The lower of two pieces of a column starts another cell when its first word would have
    // fitted after the upper one with this share of a line's height to spare ...
    Ratio roomLeftShare{1, 4};
    // ... and continues a wrapped cell when its left edge is within this share of the upper's.
    Ratio alignedShare{1, 2};
    // Pieces of different cells less than this share of a line's height apart are one row split
    // by the engine.
    Ratio leastRowPitchShare{1, 2};
    // Lines with no column in common lie side by side when they overlap by this share of a line.
    Ratio sideBySideShare{1, 3};
    // A wrapped cell's next line lies at most this many line heights below: lines of running
    // text lie less than two and a quarter word heights apart, a dialog's rows further.
    Ratio runningTextPitch{9, 4};
    // ... and closer than rows lie apart by this share of a line's height, at least a few pixels.
    Ratio rowMarginShare{1, 8};
    int leastRowMargin = 2;
    // A table has this many lines with words on both sides of a gutter, or one fewer and a line
    // right of it only; a heading and a paragraph with a short last line have neither.
    std::size_t leastLinesAcrossAGutter = 3;
};

// `tuning` with the values that `text` sets: lines of `name=value` (a field's name as above; a
// ratio as `numerator/denominator`), with blank lines and lines starting with `#` passed over.
// A line with an unknown name or a value that is not wholly a number of the field's kind (or is
// negative, or a ratio over zero) is passed over too, and the field keeps its value.
ReadingTuning TuningWithOverrides(std::string_view text, ReadingTuning tuning = {});

// The table the recognizer reads: the defaults, with the overrides of the file that the
// environment variable GLYPHSNAP_READING_TUNING names, if any; read once, at the first call.
const ReadingTuning& Tuning();

}  // namespace glyphsnap
