#include "glyphsnap/recognition/tesseract/passes/plane_readings.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <future>
#include <numeric>
#include <thread>
#include <utility>

#include "glyphsnap/recognition/tesseract/engine/engine_reading.h"

namespace glyphsnap {
namespace {

// Whether `crop` is as wide as `plane` and less high.
bool SpansWidthOnly(const WordBox& crop, const GreyPlane& plane) {
    return crop.left == 0 && crop.right == static_cast<int>(plane.width) &&
           (crop.top > 0 || crop.bottom < static_cast<int>(plane.height));
}

}  // namespace

std::variant<Reading, RecognitionFailure> ReadWhole(tesseract::TessBaseAPI& engine,
                                                    const GreyPlane& plane,
                                                    tesseract::PageSegMode mode,
                                                    RecognitionDeadline& deadline) {
    if (deadline.Passed()) {
        return RecognitionFailure::RecognitionTimedOut;
    }
    engine.SetPageSegMode(mode);
    SetPlane(engine, plane);
    const int recognised = engine.Recognize(deadline.Monitor());
    if (deadline.Passed()) {
        return RecognitionFailure::RecognitionTimedOut;
    }
    if (recognised != 0) {
        return RecognitionFailure::RecognitionFailed;
    }
    Reading reading{RecognisedLines(engine), 0};
    if (!reading.lines.empty()) {
        reading.confidence = engine.MeanTextConf();
    }
    return reading;
}

std::variant<Reading, RecognitionFailure> ReadInBands(const Readers& readers,
                                                      const GreyPlane& plane, std::uint32_t cut,
                                                      tesseract::PageSegMode mode) {
    tesseract::TessBaseAPI* second =
        cut > 0 && cut < plane.height ? readers.engines.Second() : nullptr;
    if (second == nullptr) {
        return ReadWhole(*readers.engines.Main(), plane, mode, readers.deadline);
    }
    const GreyPlane lower = Rows(plane, cut, plane.height);
    auto lowerReading = std::async(std::launch::async, [&, end = readers.deadline.End()] {
        KeepRecognitionOnThisThread(readers.threads);
        RecognitionDeadline own(end);
        return ReadWhole(*second, lower, mode, own);
    });
    const GreyPlane upper = Rows(plane, 0, cut);
    auto upperReading = ReadWhole(*readers.engines.Main(), upper, mode, readers.deadline);
    auto lowerResult = lowerReading.get();
    if (auto* failure = std::get_if<RecognitionFailure>(&upperReading)) {
        return *failure;
    }
    if (auto* failure = std::get_if<RecognitionFailure>(&lowerResult)) {
        return *failure;
    }
    return Joined(std::get<Reading>(std::move(upperReading)),
                  std::get<Reading>(std::move(lowerResult)), static_cast<int>(cut));
}

std::vector<Reading> ReadCrops(const Readers& readers, const GreyPlane& plane,
                               const std::vector<WordBox>& crops, tesseract::PageSegMode mode,
                               CropLanguages languages) {
    std::vector<Reading> readings(crops.size());
    const bool ideographic = languages == CropLanguages::IdeographicAlone;
    tesseract::TessBaseAPI* first =
        crops.empty() ? nullptr
                      : (ideographic ? readers.engines.Ideographic() : readers.engines.Main());
    if (first == nullptr) {
        return readings;
    }
    // The largest crops first, each to whichever engine is free: crops differ in size by a
    // hundred times, so handing out every other one leaves one engine waiting for the other.
    std::vector<std::size_t> order(crops.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return AreaOf(crops[a]) > AreaOf(crops[b]);
    });
    std::atomic<std::size_t> next{0};
    const auto readWhileLeft = [&](tesseract::TessBaseAPI& engine, RecognitionDeadline& own) {
        engine.SetPageSegMode(mode);
        SetPlane(engine, plane);
        bool holdsPlane = true;  // rather than the band of the crop before
        for (std::size_t taken = next++; taken < order.size(); taken = next++) {
            const std::size_t i = order[taken];
            const WordBox& crop = crops[i];
            // The engine reads the lines of a rectangle as wide as its image, but not as high,
            // in the whole image at the rectangle's coordinates, so in rows below the crop: such
            // a crop is handed over as a plane of its own rows.
            const bool band = SpansWidthOnly(crop, plane);
            if (band) {
                SetPlane(engine, Rows(plane, static_cast<std::uint32_t>(crop.top),
                                      static_cast<std::uint32_t>(crop.bottom)));
            } else {
                if (!holdsPlane) {
                    SetPlane(engine, plane);
                }
                engine.SetRectangle(crop.left, crop.top, crop.right - crop.left,
                                    crop.bottom - crop.top);
            }
            holdsPlane = !band;
            if (own.Passed() || engine.Recognize(own.Monitor()) != 0 || own.Passed()) {
                return;
            }
            readings[i].lines = RecognisedLines(engine);
            readings[i].confidence = readings[i].lines.empty() ? 0 : engine.MeanTextConf();
            if (band) {
                MoveDown(readings[i].lines, crop.top);
            }
        }
    };
    tesseract::TessBaseAPI* second = nullptr;
    if (crops.size() >= 2 && std::thread::hardware_concurrency() >= 2) {
        second = ideographic ? readers.engines.SecondIdeographic() : readers.engines.Second();
    }
    if (second == nullptr) {
        readWhileLeft(*first, readers.deadline);
        return readings;
    }
    auto other = std::async(std::launch::async, [&, end = readers.deadline.End()] {
        KeepRecognitionOnThisThread(readers.threads);
        RecognitionDeadline own(end);
        readWhileLeft(*second, own);
    });
    readWhileLeft(*first, readers.deadline);
    other.get();
    return readings;
}

}  // namespace glyphsnap
