#include "glyphsnap/recognition/tesseract/layout/underscores.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {
namespace {

// A rectangle of the plane, columns [left, right) and rows [top, bottom), clamped to it.
struct Area {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class GapView {
  public:
    GapView(const GreyPlane& plane, const Area& gap)
        : plane_(plane),
          background_(CommonestLevelIn(
              plane, static_cast<std::uint32_t>(gap.left), static_cast<std::uint32_t>(gap.top),
              static_cast<std::uint32_t>(gap.right), static_cast<std::uint32_t>(gap.bottom))) {}

    bool IsInk(int x, int y) const {
        return std::abs(static_cast<int>(LevelAt(x, y)) - background_) > Tuning().inkDifference;
    }

    int InkIn(int left, int right, int y) const {
        int ink = 0;
        for (int x = left; x < right; ++x) {
            ink += IsInk(x, y) ? 1 : 0;
        }
        return ink;
    }

    bool IsBlank(const Area& area) const {
        for (int y = area.top; y < area.bottom; ++y) {
            if (InkIn(area.left, area.right, y) > 0) {
                return false;
            }
        }
        return true;
    }

    int Width() const { return static_cast<int>(plane_.width); }

  private:
    std::uint8_t LevelAt(int x, int y) const {
        return plane_
            .levels[static_cast<std::size_t>(y) * plane_.width + static_cast<std::size_t>(x)];
    }

    const GreyPlane& plane_;
    int background_;
};

}  // namespace

bool HoldsUnderscore(const GreyPlane& plane, const WordBox& before, const WordBox& after) {
    const int height = std::min(before.bottom - before.top, after.bottom - after.top);
    const int top = std::max(before.top, after.top);
    const int foot = std::min(before.bottom, after.bottom);
    const int width = after.left - before.right;
    // Words of one line of code stand on one foot, give or take a descender.
    const bool oneFoot =
        std::abs(before.bottom - after.bottom) <= Tuning().underscoreDepth.Of(height);
    const int thinnest = static_cast<int>(Tuning().thinnestText);
    if (!oneFoot || height < thinnest || width < thinnest ||
        width > Tuning().widestUnderscore.Of(height) || before.right < 0 || top < 0) {
        return false;
    }
    // The rows an underscore may lie in: from two thirds down the words to past their foot.
    const int lowest =
        std::min(static_cast<int>(plane.height), foot + Tuning().underscoreDepth.Of(height) + 1);
    const Area gap{before.right, top, std::min(after.left, static_cast<int>(plane.width)), lowest};
    if (gap.right - gap.left < thinnest || gap.bottom <= gap.top) {
        return false;
    }
    const GapView view(plane, gap);
    const int across = gap.right - gap.left;
    const auto isStrokeRow = [&](int y) {
        return Tuning().underscoreFill.AtLeast(view.InkIn(gap.left, gap.right, y), across);
    };
    int strokeTop = top + Tuning().underscoreTop.Of(height);
    while (strokeTop < gap.bottom && !isStrokeRow(strokeTop)) {
        ++strokeTop;
    }
    int strokeBottom = strokeTop;
    while (strokeBottom < gap.bottom && isStrokeRow(strokeBottom)) {
        ++strokeBottom;
    }
    const int thickest = std::max(2, Tuning().underscoreDepth.Of(height));
    if (strokeTop == gap.bottom || strokeBottom - strokeTop > thickest) {
        return false;
    }
    // The rows beside the stroke with ink in the gap's middle, clear of the glyphs' antialiased
    // edges, are its own antialiased edges: a stroke drawn between two rows of pixels fills
    // neither of them.
    const int edge = Tuning().underscoreGapEdge.Of(across);
    const auto inkInMiddle = [&](int y) {
        return view.InkIn(gap.left + edge, gap.right - edge, y) > 0;
    };
    const int highest = top + Tuning().underscoreTop.Of(height);
    while (strokeTop > highest && strokeBottom - strokeTop < thickest &&
           inkInMiddle(strokeTop - 1)) {
        --strokeTop;
    }
    while (strokeBottom < gap.bottom && strokeBottom - strokeTop < thickest &&
           inkInMiddle(strokeBottom)) {
        ++strokeBottom;
    }
    // The gap's middle is blank above the stroke and for a stroke's depth below it.
    const int below = std::min(static_cast<int>(plane.height), strokeBottom + thickest);
    if (!view.IsBlank({gap.left + edge, top, gap.right - edge, strokeTop}) ||
        !view.IsBlank({gap.left + edge, strokeBottom, gap.right - edge, below})) {
        return false;
    }
    // The stroke ends near the gap's sides: an underline runs on under its words.
    const int middle = (strokeTop + strokeBottom) / 2;
    int start = gap.left;
    while (start > 0 && view.IsInk(start - 1, middle)) {
        --start;
    }
    int end = gap.right;
    while (end < view.Width() && view.IsInk(end, middle)) {
        ++end;
    }
    const int overhang = Tuning().underscoreOverhang.Of(height);
    return gap.left - start <= overhang && end - gap.right <= overhang;
}

std::vector<ReadLine> WithUnderscoresInGaps(std::vector<ReadLine> lines, const GreyPlane& plane) {
    for (ReadLine& line : lines) {
        ReadLine joined;
        for (ReadWord& word : line) {
            // Identifiers are Latin: the strokes at the foot of ideographs reach into their gaps.
            if (!joined.empty() && !joined.back().text.empty() && !word.text.empty() &&
                !HoldsIdeograph(std::u16string_view(joined.back().text)
                                    .substr(joined.back().text.size() - 1)) &&
                !HoldsIdeograph(std::u16string_view(word.text).substr(0, 1)) &&
                HoldsUnderscore(plane, joined.back().box, word.box)) {
                ReadWord& last = joined.back();
                last.text += u'_';
                last.text += word.text;
                last.confidence = std::min(last.confidence, word.confidence);
                last.box = {std::min(last.box.left, word.box.left),
                            std::min(last.box.top, word.box.top),
                            std::max(last.box.right, word.box.right),
                            std::max(last.box.bottom, word.box.bottom)};
                continue;
            }
            joined.push_back(std::move(word));
        }
        line = std::move(joined);
    }
    return lines;
}

}  // namespace glyphsnap
