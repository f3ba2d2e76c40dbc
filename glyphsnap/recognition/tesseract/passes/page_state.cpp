#include "glyphsnap/recognition/tesseract/passes/page_state.h"

#include <utility>

namespace glyphsnap {
namespace {

// The reading plane's size to the page's: each side of the half holds half the page's pixels
// (an odd last row or column dropped), so a box doubled from the half and halved again is the
// box it was.
constexpr float kHalf = 0.5F;
constexpr float kDouble = 2.0F;

}  // namespace

const GreyPlane& ReadingPlane(const PageState& page) {
    return page.halved ? *page.halved : page.plane;
}

std::vector<WordBox> AtReadingScale(const PageState& page, const std::vector<WordBox>& boxes) {
    return page.halved ? ScaledBoxes(boxes, kHalf) : boxes;
}

std::uint32_t AtReadingScale(const PageState& page, std::uint32_t row) {
    return page.halved ? row / 2 : row;
}

std::vector<ReadLine> AtReadingScale(const PageState& page, std::vector<ReadLine> lines) {
    if (page.halved) {
        ScaleLines(lines, kHalf);
    }
    return lines;
}

std::vector<TableRow> AtReadingScale(const PageState& page, const std::vector<TableRow>& rows) {
    return page.halved ? ScaledRows(rows, kHalf) : rows;
}

std::vector<ReadLine> OnPage(const PageState& page, std::vector<ReadLine> lines) {
    if (page.halved) {
        ScaleLines(lines, kDouble);
    }
    return lines;
}

}  // namespace glyphsnap
