#include "glyphsnap/recognition/tesseract/passes/pass_doubtful_words.h"

#include <tesseract/baseapi.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/page_regions.h"
#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"
#include "glyphsnap/recognition/tesseract/passes/plane_readings.h"

namespace glyphsnap {
namespace {

// The doubtful words of `lines`, read on `plane`, read again.
void ReadDoubtfulWordsOf(std::vector<ReadLine>& lines, const GreyPlane& plane,
                         const Readers& readers, SecondReadingBudget& budget) {
    std::vector<WordBox> crops;
    std::vector<ReadLine*> cropLines;  // the line each crop reads in part
    for (ReadLine& line : lines) {
        // A checkbox before its label is read as a mark and dropped as one; read by the Chinese
        // model alone it would come back as an ideograph.
        const bool leadingMark = line.size() > 1 && IsMarkBesideText(line.front(), line);
        for (auto word = line.begin() + (leadingMark ? 1 : 0); word != line.end();) {
            const auto run = std::find_if_not(word, line.end(), IsDoubtedWord);
            if (run == word) {
                ++word;
                continue;
            }
            if (const WordBox crop = CropOf(WithContext(BoxOf(ReadLine(word, run)), line), plane);
                !IsEmpty(crop) && budget.Take(crop)) {
                crops.push_back(crop);
                cropLines.push_back(&line);
            }
            word = run;
        }
    }
    std::vector<Reading> readings = ReadCrops(readers, plane, crops, tesseract::PSM_SINGLE_LINE,
                                              CropLanguages::IdeographicAlone);
    std::vector<std::pair<ReadLine*, ReadLine>> again;
    for (std::size_t i = 0; i < crops.size(); ++i) {
        ReadLine* line = cropLines[i];
        if (again.empty() || again.back().first != line) {
            again.emplace_back(line, ReadLine{});
        }
        for (ReadLine& part : readings[i].lines) {
            std::move(part.begin(), part.end(), std::back_inserter(again.back().second));
        }
    }
    for (auto& [line, words] : again) {
        TakeIdeographicReadings(
            *line, words,
            {Tuning().leastIdeographicConfidence, Tuning().leastIdeographicRunConfidence},
            IsDoubtedWord);
    }
}

}  // namespace

void ReadDoubtfulWordsAgain(PageState& page) {
    if (IdeographicLanguageOf(page.readers.engines.Settings().languages).empty()) {
        return;
    }
    std::vector<ReadLine> lines = AtReadingScale(page, std::move(page.reading.lines));
    ReadDoubtfulWordsOf(lines, ReadingPlane(page), page.readers, page.budget);
    page.reading.lines = OnPage(page, std::move(lines));
}

}  // namespace glyphsnap
