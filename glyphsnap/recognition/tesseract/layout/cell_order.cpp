#include "glyphsnap/recognition/tesseract/layout/cell_order.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {
namespace {

// An interval of columns of pixels, [left, right).
struct Span {
    int left = 0;
    int right = 0;
    int Width() const { return right - left; }
};

// The size of a page's text, from all its words.
struct TextScale {
    int lineHeight = 0;  // the median height of a word
    int wordGap = 0;     // the median gap between neighbouring words, of those narrower than that
    // A column gutter is wider than this.
    int LeastGutter() const { return std::max(lineHeight, wordGap * Tuning().leastGutterWordGaps); }
};

// Lines [first, last] of a page.
struct Run {
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t Size() const { return last - first + 1; }
    friend bool operator==(const Run&, const Run&) = default;
};

std::vector<Span> WordSpans(const ReadLine& line) {
    std::vector<Span> spans;
    for (const ReadWord& word : line) {
        spans.push_back({word.box.left, word.box.right});
    }
    std::sort(spans.begin(), spans.end(), [](Span a, Span b) { return a.left < b.left; });
    return spans;
}

TextScale ScaleOf(const std::vector<ReadLine>& lines) {
    std::vector<int> heights;
    for (const ReadLine& line : lines) {
        for (const ReadWord& word : line) {
            heights.push_back(word.box.bottom - word.box.top);
        }
    }
    TextScale scale{MedianOf(std::move(heights)), 0};
    std::vector<int> gaps;
    for (const ReadLine& line : lines) {
        const std::vector<Span> spans = WordSpans(line);
        for (std::size_t i = 1; i < spans.size(); ++i) {
            // A gap wider than a word is high may be a gutter itself.
            if (const int gap = std::max(0, spans[i].left - spans[i - 1].right);
                gap < scale.lineHeight) {
                gaps.push_back(gap);
            }
        }
    }
    scale.wordGap = MedianOf(std::move(gaps));
    return scale;
}

// The parts of `strip` that no word of `line` covers.
std::vector<Span> FreeParts(const ReadLine& line, Span strip) {
    std::vector<Span> free;
    int from = strip.left;
    for (const Span& word : WordSpans(line)) {
        if (word.left > from) {
            free.push_back({from, std::min(word.left, strip.right)});
        }
        from = std::max(from, word.right);
        if (from >= strip.right) {
            return free;
        }
    }
    free.push_back({from, strip.right});
    return free;
}

// The lines around `seed` through which a strip at least `least` wide inside `strip` stays free.
Run RunThrough(const std::vector<ReadLine>& lines, std::size_t seed, Span strip, int least) {
    const auto staysFree = [&](std::size_t line, Span& narrowed) {
        const std::vector<Span> parts = FreeParts(lines[line], narrowed);
        const auto widest = std::max_element(parts.begin(), parts.end(),
                                             [](Span a, Span b) { return a.Width() < b.Width(); });
        if (widest == parts.end() || widest->Width() < least) {
            return false;
        }
        narrowed = *widest;
        return true;
    };
    Run run{seed, seed};
    for (Span up = strip; run.first > 0 && staysFree(run.first - 1, up);) {
        --run.first;
    }
    for (Span down = strip; run.last + 1 < lines.size() && staysFree(run.last + 1, down);) {
        ++run.last;
    }
    return run;
}

// Each run of two or more lines that a gutter-wide gap in one of them opens; longest first.
std::vector<Run> CandidateTables(const std::vector<ReadLine>& lines, int least) {
    std::vector<Run> runs;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::vector<Span> spans = WordSpans(lines[i]);
        for (std::size_t k = 1; k < spans.size(); ++k) {
            const Span gap{spans[k - 1].right, spans[k].left};
            if (gap.Width() < least) {
                continue;
            }
            const Run run = RunThrough(lines, i, gap, least);
            if (run.Size() >= 2 && std::find(runs.begin(), runs.end(), run) == runs.end()) {
                runs.push_back(run);
            }
        }
    }
    std::stable_sort(runs.begin(), runs.end(),
                     [](const Run& a, const Run& b) { return a.Size() > b.Size(); });
    return runs;
}

// The gutters that run through all lines of `run`, left to right.
std::vector<Span> GuttersOf(const std::vector<ReadLine>& lines, Run run, int least) {
    Span extent{lines[run.first].front().box.left, lines[run.first].front().box.right};
    for (std::size_t i = run.first; i <= run.last; ++i) {
        for (const ReadWord& word : lines[i]) {
            extent = {std::min(extent.left, word.box.left), std::max(extent.right, word.box.right)};
        }
    }
    std::vector<Span> gutters{extent};
    for (std::size_t i = run.first; i <= run.last && !gutters.empty(); ++i) {
        std::vector<Span> narrowed;
        for (const Span& gutter : gutters) {
            for (const Span& part : FreeParts(lines[i], gutter)) {
                if (part.Width() >= least) {
                    narrowed.push_back(part);
                }
            }
        }
        gutters = std::move(narrowed);
    }
    return gutters;  // the extent's edges are words' edges, so each gutter has words either side
}

// A line of a table cut at its gutters: one piece per column, empty where the column is.
using CutLine = std::vector<ReadLine>;

std::vector<CutLine> CutAtGutters(const std::vector<ReadLine>& lines, Run run,
                                  const std::vector<Span>& gutters) {
    std::vector<CutLine> cut;
    for (std::size_t i = run.first; i <= run.last; ++i) {
        CutLine pieces(gutters.size() + 1);
        for (const ReadWord& word : lines[i]) {
            const auto column = std::count_if(gutters.begin(), gutters.end(),
                                              [&](Span g) { return g.right <= word.box.left; });
            pieces[static_cast<std::size_t>(column)].push_back(word);
        }
        cut.push_back(std::move(pieces));
    }
    return cut;
}

// The right edge of the ink of each column: no line of a cell reaches past it.
std::vector<int> ColumnEnds(const std::vector<CutLine>& cut) {
    std::vector<int> ends(cut.front().size(), 0);
    for (const CutLine& line : cut) {
        for (std::size_t c = 0; c < line.size(); ++c) {
            if (!line[c].empty()) {
                ends[c] = std::max(ends[c], BoxOf(line[c]).right);
            }
        }
    }
    return ends;
}

// The top of a piece's full-height words: punctuation and short lowercase words sit lower.
int TopOf(const ReadLine& piece) {
    int tallest = 0;
    for (const ReadWord& word : piece) {
        tallest = std::max(tallest, word.box.bottom - word.box.top);
    }
    std::vector<int> tops;
    for (const ReadWord& word : piece) {
        if (Tuning().tallWordShare.AtLeast(word.box.bottom - word.box.top, tallest)) {
            tops.push_back(word.box.top);
        }
    }
    return MedianOf(std::move(tops));
}

// How the lower of two pieces of one column follows the upper.
enum class Follows {
    Wrapped,  // as the next line of one cell: aligned, and its first word had no room above
    Apart,    // in another cell: its first word would have fitted at the end of the upper piece
    Unclear,
};

Follows HowFollows(const ReadLine& upper, const ReadLine& lower, int columnEnd,
                   const TextScale& scale) {
    const WordBox above = BoxOf(upper);
    const WordBox below = BoxOf(lower);
    const int firstWord = lower.front().box.right - lower.front().box.left;
    const int room = scale.wordGap + firstWord + Tuning().roomLeftShare.Of(scale.lineHeight);
    if (above.right + room <= columnEnd) {
        return Follows::Apart;
    }
    const bool runningText =
        upper.size() >= 2 || (upper.front().text.size() >= 2 && HoldsIdeograph(upper.front().text));
    const bool aligned =
        std::abs(above.left - below.left) <= Tuning().alignedShare.Of(scale.lineHeight);
    return runningText && aligned ? Follows::Wrapped : Follows::Unclear;
}

// The table's lines as they are read: cut, with the ink extent of each column.
struct Table {
    std::vector<CutLine> lines;
    std::vector<int> columnEnds;
    TextScale scale;
};

// Less than the distance between the tops of any two lines of the table whose pieces in some
// column are in different cells; none when no such lines are known.
std::optional<int> RowSpacing(const Table& table) {
    std::optional<int> closest;
    for (std::size_t i = 1; i < table.lines.size(); ++i) {
        for (std::size_t c = 0; c < table.columnEnds.size(); ++c) {
            const ReadLine& upper = table.lines[i - 1][c];
            const ReadLine& lower = table.lines[i][c];
            if (!upper.empty() && !lower.empty() &&
                HowFollows(upper, lower, table.columnEnds[c], table.scale) == Follows::Apart) {
                // Pieces side by side, split into two lines by the engine, are no row apart.
                const int pitch = TopOf(lower) - TopOf(upper);
                if (Tuning().leastRowPitchShare.Over(pitch, table.scale.lineHeight)) {
                    closest = std::min(closest.value_or(pitch), pitch);
                }
            }
        }
    }
    return closest;
}

// The rows of ink a cut line spans.
std::pair<int, int> RowsSpanned(const CutLine& line) {
    std::pair<int, int> rows{0, 0};
    bool any = false;
    for (const ReadLine& piece : line) {
        if (!piece.empty()) {
            const WordBox box = BoxOf(piece);
            rows = any ? std::pair{std::min(rows.first, box.top), std::max(rows.second, box.bottom)}
                       : std::pair{box.top, box.bottom};
            any = true;
        }
    }
    return rows;
}

// True when two lines lie side by side: they overlap by a share of a line and no column holds both.
bool SideBySide(const CutLine& upper, const CutLine& lower, const TextScale& scale) {
    for (std::size_t c = 0; c < upper.size(); ++c) {
        if (!upper[c].empty() && !lower[c].empty()) {
            return false;
        }
    }
    const auto [upperTop, upperBottom] = RowsSpanned(upper);
    const auto [lowerTop, lowerBottom] = RowsSpanned(lower);
    const int overlap = std::min(upperBottom, lowerBottom) - std::max(upperTop, lowerTop);
    return Tuning().sideBySideShare.AtLeast(overlap, scale.lineHeight);
}

// True when line `next` of the table continues the row whose last piece in each column is
// `last` (null where the row has none): in some column it is the next line of a wrapped cell,
// closer than rows lie apart, and in no column does it start another cell.
bool ContinuesRow(const Table& table, const std::vector<const ReadLine*>& last, const CutLine& next,
                  int rowSpacing) {
    const int margin =
        std::max(Tuning().leastRowMargin, Tuning().rowMarginShare.Of(table.scale.lineHeight));
    bool wrapped = false;
    for (std::size_t c = 0; c < next.size(); ++c) {
        if (last[c] == nullptr || next[c].empty()) {
            continue;
        }
        const int pitch = TopOf(next[c]) - TopOf(*last[c]);
        const Follows follows = HowFollows(*last[c], next[c], table.columnEnds[c], table.scale);
        // Lines of running text lie less than two and a quarter word heights apart; the rows
        // of a dialog's labels and fields lie further.
        const bool close = pitch > 0 && pitch <= rowSpacing - margin &&
                           Tuning().runningTextPitch.AtMost(pitch, table.scale.lineHeight);
        if (follows == Follows::Apart || !close) {
            return false;
        }
        wrapped = wrapped || follows == Follows::Wrapped;
    }
    return wrapped;
}

// The table's rows, each as the indices of its lines.
std::vector<std::vector<std::size_t>> RowsOf(const Table& table, int rowSpacing) {
    std::vector<std::vector<std::size_t>> rows;
    std::vector<const ReadLine*> last;
    for (std::size_t i = 0; i < table.lines.size(); ++i) {
        const CutLine& line = table.lines[i];
        const bool joins =
            !rows.empty() && (SideBySide(table.lines[rows.back().back()], line, table.scale) ||
                              ContinuesRow(table, last, line, rowSpacing));
        if (!joins) {
            rows.emplace_back();
            last.assign(line.size(), nullptr);
        }
        rows.back().push_back(i);
        for (std::size_t c = 0; c < line.size(); ++c) {
            if (!line[c].empty()) {
                last[c] = &line[c];
            }
        }
    }
    return rows;
}

// A row's pieces column by column, each column's line by line.
std::vector<ReadLine> InCellOrderOfRow(const Table& table, const std::vector<std::size_t>& row) {
    std::vector<ReadLine> pieces;
    for (std::size_t c = 0; c < table.columnEnds.size(); ++c) {
        for (const std::size_t i : row) {
            if (!table.lines[i][c].empty()) {
                pieces.push_back(table.lines[i][c]);
            }
        }
    }
    return pieces;
}

bool SameWordOrder(const std::vector<ReadLine>& a, const std::vector<ReadLine>& b) {
    std::vector<const ReadWord*> first;
    std::vector<const ReadWord*> second;
    for (const ReadLine& line : a) {
        for (const ReadWord& word : line) {
            first.push_back(&word);
        }
    }
    for (const ReadLine& line : b) {
        for (const ReadWord& word : line) {
            second.push_back(&word);
        }
    }
    return std::equal(first.begin(), first.end(), second.begin(), second.end(),
                      [](const ReadWord* x, const ReadWord* y) {
                          return x->text == y->text && x->box.left == y->box.left &&
                                 x->box.top == y->box.top;
                      });
}

// A table has enough lines with words on both sides of a gutter, or one fewer and a line right
// of it only; a heading and a paragraph with a short last line have neither.
bool ShowsATable(const Table& table) {
    std::size_t across = 0;
    bool rightOnly = false;
    for (const CutLine& line : table.lines) {
        const auto pieces = std::count_if(line.begin(), line.end(),
                                          [](const ReadLine& piece) { return !piece.empty(); });
        across += pieces >= 2 ? 1 : 0;
        rightOnly = rightOnly || (pieces >= 1 && line.front().empty());
    }
    return across >= Tuning().leastLinesAcrossAGutter ||
           (across + 1 >= Tuning().leastLinesAcrossAGutter && rightOnly);
}

// The lines of `run` in cell order; as they are when nothing in them is known to be out of order.
std::vector<ReadLine> TableInCellOrder(const std::vector<ReadLine>& lines, Run run,
                                       const TextScale& scale) {
    std::vector<ReadLine> asRead(lines.begin() + static_cast<std::ptrdiff_t>(run.first),
                                 lines.begin() + static_cast<std::ptrdiff_t>(run.last + 1));
    const std::vector<Span> gutters = GuttersOf(lines, run, scale.LeastGutter());
    if (gutters.empty()) {
        return asRead;
    }
    Table table{CutAtGutters(lines, run, gutters), {}, scale};
    if (!ShowsATable(table)) {
        return asRead;
    }
    table.columnEnds = ColumnEnds(table.lines);
    const std::optional<int> rowSpacing = RowSpacing(table);
    if (!rowSpacing) {
        return asRead;  // rows that cannot be told apart stay as they are
    }
    std::vector<ReadLine> ordered;
    for (const std::vector<std::size_t>& row : RowsOf(table, *rowSpacing)) {
        std::vector<ReadLine> rowAsRead;
        rowAsRead.reserve(row.size());
        for (const std::size_t i : row) {
            rowAsRead.push_back(asRead[i]);
        }
        std::vector<ReadLine> pieces = InCellOrderOfRow(table, row);
        std::vector<ReadLine>& kept = SameWordOrder(pieces, rowAsRead) ? rowAsRead : pieces;
        std::move(kept.begin(), kept.end(), std::back_inserter(ordered));
    }
    return ordered;
}

}  // namespace

std::vector<ReadLine> InCellOrder(std::vector<ReadLine> lines) {
    std::erase_if(lines, [](const ReadLine& line) { return line.empty(); });
    const TextScale scale = ScaleOf(lines);
    if (lines.size() < 3 || scale.lineHeight <= 0) {
        return lines;
    }
    // Each line belongs to the longest table found through it; the lines of no table stay.
    std::vector<std::optional<Run>> tableAt(lines.size());
    std::vector<bool> claimed(lines.size(), false);
    for (const Run& run : CandidateTables(lines, scale.LeastGutter())) {
        if (std::none_of(claimed.begin() + static_cast<std::ptrdiff_t>(run.first),
                         claimed.begin() + static_cast<std::ptrdiff_t>(run.last + 1),
                         [](bool taken) { return taken; })) {
            std::fill(claimed.begin() + static_cast<std::ptrdiff_t>(run.first),
                      claimed.begin() + static_cast<std::ptrdiff_t>(run.last + 1), true);
            tableAt[run.first] = run;
        }
    }
    std::vector<ReadLine> ordered;
    for (std::size_t i = 0; i < lines.size();) {
        if (tableAt[i]) {
            std::vector<ReadLine> table = TableInCellOrder(lines, *tableAt[i], scale);
            std::move(table.begin(), table.end(), std::back_inserter(ordered));
            i = tableAt[i]->last + 1;
        } else {
            ordered.push_back(std::move(lines[i]));
            ++i;
        }
    }
    return ordered;
}

}  // namespace glyphsnap
