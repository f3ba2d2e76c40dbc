#include "glyphsnap/recognition/tesseract/passes/page_preparation.h"

#include <tesseract/baseapi.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "glyphsnap/recognition/tesseract/engine/engine_reading.h"
#include "glyphsnap/recognition/tesseract/layout/boxes.h"
#include "glyphsnap/recognition/tesseract/layout/filled_fields.h"
#include "glyphsnap/recognition/tesseract/layout/ink_lines.h"
#include "glyphsnap/recognition/tesseract/layout/reading_policy.h"
#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"
#include "glyphsnap/recognition/tesseract/layout/ruled_tables.h"

namespace glyphsnap {
namespace {

// The boxes of the text lines the layout analysis finds.
std::vector<WordBox> LayoutLines(tesseract::TessBaseAPI& engine, const GreyPlane& plane) {
    engine.SetPageSegMode(tesseract::PSM_AUTO);
    SetPlane(engine, plane);
    const std::unique_ptr<tesseract::PageIterator> line(engine.AnalyseLayout());
    std::vector<WordBox> boxes;
    if (line && !line->Empty(tesseract::RIL_TEXTLINE)) {
        do {
            WordBox box;
            if (line->BoundingBox(tesseract::RIL_TEXTLINE, &box.left, &box.top, &box.right,
                                  &box.bottom)) {
                boxes.push_back(box);
            }
        } while (line->Next(tesseract::RIL_TEXTLINE));
    }
    return boxes;
}

// The row the page is cut at between two engines; 0 for one engine.
std::uint32_t CutOf(const GreyPlane& plane, const std::vector<WordBox>& inkLines,
                    const std::vector<std::uint8_t>& framedRows, bool strokesAcross) {
    switch (SplitFor(inkLines, strokesAcross, std::thread::hardware_concurrency())) {
        case Split::AnyWhere:
            return CutBetweenLines(inkLines, plane.height).value_or(0);
        case Split::OutsideFrames:
            return CutBetweenLines(inkLines, plane.height, framedRows).value_or(0);
        case Split::None:
            break;
    }
    return 0;
}

}  // namespace

PageState PreparedPage(const BgraBitmap& bitmap, const Readers& readers) {
    PageState page{.readers = readers, .plane = GreyPlaneOf(bitmap)};
    LightenFilledFields(page.plane);
    StrokesDown strokes;
    std::uint32_t longestStroke = Tuning().longestTextStroke;
    page.inkLines = InkLinesOf(page.plane, longestStroke, &strokes);
    if (AreStrokesDownText(strokes.longest, page.inkLines)) {
        // Text drawn large (a label the page was enlarged from): its stems are its own.
        longestStroke = strokes.longest;
        page.inkLines = InkLinesOf(page.plane, longestStroke);
        strokes = {};
    }
    const bool strokesAcross = HoldsStrokeAcross(page.plane, page.inkLines, longestStroke);
    page.cut = CutOf(page.plane, page.inkLines, strokes.framedRows, strokesAcross);
    const bool framed = strokesAcross || strokes.longest > 0;
    const std::vector<WordBox> layoutLines =
        NeedsLayoutLines(page.inkLines, framed)
            ? LayoutLines(*readers.engines.Main(),
                          page.cut > 0 ? Rows(page.plane, 0, page.cut) : page.plane)
            : std::vector<WordBox>{};
    const std::optional<float> lineHeight = PageLineHeight(layoutLines, page.inkLines);
    if (lineHeight) {
        const FrameLineLengths shortest = FrameLineLengthsFor(*lineHeight);
        page.tableRows = RuledTableRows(page.plane, shortest.across);
        std::vector<TableRow> boxRows = RowsOfCells(RemoveBoxSides(page.plane, shortest.down));
        page.tableRows.insert(page.tableRows.end(), boxRows.begin(), boxRows.end());
        std::sort(page.tableRows.begin(), page.tableRows.end(),
                  [](const TableRow& a, const TableRow& b) {
                      return a.cells.front().top < b.cells.front().top;
                  });
        const float textHeight =
            RemoveFrameLines(page.plane, shortest.across, shortest.down)
                ? LineHeightWithoutFrames(
                      *lineHeight,
                      PageLineHeight(layoutLines, InkLinesOf(page.plane, longestStroke)))
                : *lineHeight;
        if (const float factor = EnlargementFor(textHeight, page.plane.width, page.plane.height);
            factor > 1) {
            page.plane = EnlargedPlane(page.plane, factor);
            page.tableRows = ScaledRows(std::move(page.tableRows), factor);
            page.inkLines = ScaledBoxes(page.inkLines, factor);
            page.cut = std::min(page.plane.height,
                                static_cast<std::uint32_t>(static_cast<float>(page.cut) * factor));
        }
    }
    page.budget = SecondReadingBudget(page.plane.width, page.plane.height);
    return page;
}

}  // namespace glyphsnap
