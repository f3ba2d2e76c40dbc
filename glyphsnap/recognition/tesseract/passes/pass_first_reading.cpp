#include "glyphsnap/recognition/tesseract/passes/pass_first_reading.h"

#include <tesseract/baseapi.h>

#include <utility>
#include <variant>

#include "glyphsnap/recognition/tesseract/layout/ruled_tables.h"
#include "glyphsnap/recognition/tesseract/passes/plane_readings.h"

namespace glyphsnap {

std::optional<RecognitionFailure> ReadFirst(PageState& page) {
    auto reading = [&] {
        const TablesBlanked blank(page.plane, page.tableRows);  // read cell by cell afterwards
        return ReadInBands(page.readers, page.plane, page.cut, tesseract::PSM_SINGLE_BLOCK);
    }();
    if (const auto* failure = std::get_if<RecognitionFailure>(&reading)) {
        return *failure;
    }
    page.reading = std::get<Reading>(std::move(reading));
    return std::nullopt;
}

}  // namespace glyphsnap
