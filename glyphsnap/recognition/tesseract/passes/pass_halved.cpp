#include "glyphsnap/recognition/tesseract/passes/pass_halved.h"

#include <tesseract/baseapi.h>

#include <cstdint>
#include <utility>
#include <variant>

#include "glyphsnap/recognition/tesseract/passes/plane_readings.h"

namespace glyphsnap {

void ReadHalved(PageState& page) {
    GreyPlane halvedPlane = HalvedPlane(page.plane);
    page.budget.Take(std::uint64_t{halvedPlane.width} * halvedPlane.height);
    auto halved = ReadWhole(*page.readers.engines.Main(), halvedPlane, tesseract::PSM_SINGLE_BLOCK,
                            page.readers.deadline);
    if (auto* reading = std::get_if<Reading>(&halved)) {
        TakeHalvedReading(page, std::move(halvedPlane), std::move(*reading));
    }
}

void TakeHalvedReading(PageState& page, GreyPlane halvedPlane, Reading halved) {
    if (halved.confidence <= page.reading.confidence) {
        return;
    }
    page.halved = std::move(halvedPlane);
    halved.lines = WithLinesFoundApart(std::move(halved.lines),
                                       AtReadingScale(page, std::move(page.reading.lines)));
    page.reading = {OnPage(page, std::move(halved.lines)), halved.confidence};
}

}  // namespace glyphsnap
