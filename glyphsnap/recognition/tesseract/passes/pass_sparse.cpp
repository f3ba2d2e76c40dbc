#include "glyphsnap/recognition/tesseract/passes/pass_sparse.h"

#include <tesseract/baseapi.h>

#include <cstdint>
#include <utility>
#include <variant>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/reading_policy.h"
#include "glyphsnap/recognition/tesseract/passes/plane_readings.h"

namespace glyphsnap {

void ReadSparse(PageState& page, SparseBands bands) {
    const std::uint32_t cut = bands == SparseBands::AsFirstReading ? page.cut : 0;
    auto reading = ReadInBands(page.readers, ReadingPlane(page), AtReadingScale(page, cut),
                               tesseract::PSM_SPARSE_TEXT);
    auto* read = std::get_if<Reading>(&reading);
    if (read == nullptr || read->lines.empty()) {
        return;
    }
    Reading& sparse = *read;
    std::erase_if(sparse.lines, IsWidgetReadAsAGlyph);
    std::vector<ReadLine> lines = AtReadingScale(page, std::move(page.reading.lines));
    if (IsSparseReadingPreferred(sparse.confidence, page.reading.confidence)) {
        page.reading = {OnPage(page, WithLinesReadBetter(std::move(lines), sparse.lines)),
                        sparse.confidence};
    } else {
        page.reading.lines = OnPage(page, WithLinesFoundApart(std::move(lines), sparse.lines));
    }
}

}  // namespace glyphsnap
