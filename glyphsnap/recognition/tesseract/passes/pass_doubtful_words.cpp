#include "glyphsnap/recognition/tesseract/passes/pass_doubtful_words.h"

#include <tesseract/baseapi.h>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "glyphsnap/recognition/tesseract/engine/engine_reading.h"
#include "glyphsnap/recognition/tesseract/layout/page_regions.h"
#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {
namespace {

// The doubtful words of `lines`, read on `plane`, read again.
void ReadDoubtfulWordsOf(std::vector<ReadLine>& lines, const GreyPlane& plane, EngineSet& engines,
                         SecondReadingBudget& budget, RecognitionDeadline& deadline) {
    std::vector<std::pair<ReadLine*, WordBox>> crops;
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
                crops.emplace_back(&line, crop);
            }
            word = run;
        }
    }
    tesseract::TessBaseAPI* engine = crops.empty() ? nullptr : engines.Ideographic();
    if (engine == nullptr) {
        return;
    }
    engine->SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    SetPlane(*engine, plane);
    std::vector<std::pair<ReadLine*, ReadLine>> again;
    for (const auto& [line, crop] : crops) {
        engine->SetRectangle(crop.left, crop.top, crop.right - crop.left, crop.bottom - crop.top);
        if (deadline.Passed() || engine->Recognize(deadline.Monitor()) != 0 || deadline.Passed()) {
            break;
        }
        if (again.empty() || again.back().first != line) {
            again.emplace_back(line, ReadLine{});
        }
        for (ReadLine& part : RecognisedLines(*engine)) {
            std::move(part.begin(), part.end(), std::back_inserter(again.back().second));
        }
    }
    for (auto& [line, words] : again) {
        TakeIdeographicReadings(*line, words, Tuning().leastIdeographicConfidence, IsDoubtedWord);
    }
}

}  // namespace

void ReadDoubtfulWordsAgain(PageState& page) {
    if (IdeographicLanguageOf(page.readers.engines.Settings().languages).empty()) {
        return;
    }
    std::vector<ReadLine> lines = AtReadingScale(page, std::move(page.reading.lines));
    ReadDoubtfulWordsOf(lines, ReadingPlane(page), page.readers.engines, page.budget,
                        page.readers.deadline);
    page.reading.lines = OnPage(page, std::move(lines));
}

}  // namespace glyphsnap
