#include "glyphsnap/recognition/tesseract/passes/pass_doubtful_ideographs.h"

#include <tesseract/baseapi.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/ideograph_votes.h"
#include "glyphsnap/recognition/tesseract/layout/page_regions.h"
#include "glyphsnap/recognition/tesseract/layout/reading_policy.h"
#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"
#include "glyphsnap/recognition/tesseract/passes/plane_readings.h"

namespace glyphsnap {
namespace {

bool HoldsDoubtfulIdeograph(const ReadLine& line) {
    return std::any_of(line.begin(), line.end(), [](const ReadWord& word) {
        return word.confidence < Tuning().doubtfulIdeographConfidence && HoldsIdeograph(word.text);
    });
}

// The crops of a plane at another size, one under the other on one plane of the page's
// background, and where each lies on it: two engines share them as the crops of one plane.
struct StackedCrops {
    GreyPlane plane;
    std::vector<WordBox> crops;
};

StackedCrops StackedAt(const GreyPlane& plane, const std::vector<WordBox>& crops, float factor) {
    std::vector<GreyPlane> parts;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    for (const WordBox& crop : crops) {
        parts.push_back(EnlargedPlane(PartOf(plane, crop), factor));
        width = std::max(width, parts.back().width);
        height += parts.back().height;
    }
    StackedCrops stack{{width, height, {}}, {}};
    stack.plane.levels.assign(std::size_t{width} * height, CommonestLevel(plane));
    std::uint32_t top = 0;
    for (const GreyPlane& part : parts) {
        for (std::uint32_t row = 0; row < part.height; ++row) {
            std::copy_n(
                part.levels.begin() + static_cast<std::ptrdiff_t>(std::size_t{row} * part.width),
                part.width,
                stack.plane.levels.begin() +
                    static_cast<std::ptrdiff_t>(std::size_t{top + row} * width));
        }
        stack.crops.push_back({0, static_cast<int>(top), static_cast<int>(part.width),
                               static_cast<int>(top + part.height)});
        top += part.height;
    }
    return stack;
}

}  // namespace

void ReadDoubtfulIdeographsAgain(PageState& page) {
    if (IdeographicLanguageOf(page.readers.engines.Settings().languages).empty()) {
        return;
    }
    std::vector<ReadLine> lines = AtReadingScale(page, std::move(page.reading.lines));
    const GreyPlane& plane = ReadingPlane(page);
    const std::array factors{Tuning().smallerIdeographReading, Tuning().largerIdeographReading};
    float areaShare = 0;  // of a crop, in pixels as read at all sizes
    for (const float factor : factors) {
        areaShare += factor * factor;
    }
    std::vector<std::size_t> doubtful;
    std::vector<WordBox> crops;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!HoldsDoubtfulIdeograph(lines[i])) {
            continue;
        }
        if (const WordBox crop = CropOf(BoxOf(lines[i]), plane);
            !IsEmpty(crop) && page.budget.Take(static_cast<std::uint64_t>(
                                  static_cast<float>(AreaOf(crop)) * areaShare))) {
            doubtful.push_back(i);
            crops.push_back(crop);
        }
    }
    if (!crops.empty()) {
        std::vector<std::vector<ReadLine>> others(crops.size());
        for (const float factor : factors) {
            const StackedCrops stack = StackedAt(plane, crops, factor);
            const std::vector<Reading> readings =
                ReadCrops(page.readers, stack.plane, stack.crops, tesseract::PSM_SINGLE_LINE,
                          CropLanguages::IdeographicAlone);
            for (std::size_t k = 0; k < readings.size(); ++k) {
                ReadLine words;
                for (const ReadLine& part : readings[k].lines) {
                    words.insert(words.end(), part.begin(), part.end());
                }
                others[k].push_back(std::move(words));
            }
        }
        for (std::size_t k = 0; k < doubtful.size(); ++k) {
            lines[doubtful[k]] = WithIdeographsOthersAgreeOn(
                std::move(lines[doubtful[k]]), others[k], Tuning().doubtfulIdeographConfidence);
        }
    }
    page.reading.lines = OnPage(page, std::move(lines));
}

}  // namespace glyphsnap
