#include "glyphsnap/recognition/tesseract/pass_sparse.h"

#include <tesseract/baseapi.h>

#include <utility>
#include <variant>

#include "glyphsnap/recognition/tesseract/plane_readings.h"

namespace glyphsnap {

void ReadSparse(PageState& page, SparseBands bands) {
    const std::uint32_t cut = bands == SparseBands::AsFirstReading ? page.cut : 0;
    auto reading = ReadInBands(page.readers, page.plane, cut, tesseract::PSM_SPARSE_TEXT);
    auto* read = std::get_if<Reading>(&reading);
    if (read == nullptr || read->lines.empty()) {
        return;
    }
    Reading& sparse = *read;
    Reading& best = page.reading;
    if (IsSparseReadingPreferred(sparse.confidence, best.confidence)) {
        sparse.lines = WithLinesFoundApart(std::move(sparse.lines), best.lines);
        best = std::move(sparse);
    } else {
        best.lines = WithLinesFoundApart(std::move(best.lines), sparse.lines);
    }
}

}  // namespace glyphsnap
