#include "glyphsnap/recognition/tesseract/passes/pass_missed_and_doubtful_lines.h"

#include <tesseract/baseapi.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/missed_pieces.h"
#include "glyphsnap/recognition/tesseract/layout/reading_policy.h"
#include "glyphsnap/recognition/tesseract/passes/plane_readings.h"

namespace glyphsnap {
namespace {

// True when every line of `lines` that `again` reads again in part has its middle in `row`.
bool IsReadingOfOneRow(const std::vector<ReadLine>& lines, const ReadLine& again,
                       const WordBox& row) {
    return std::all_of(lines.begin(), lines.end(), [&](const ReadLine& line) {
        const WordBox box = BoxOf(line);
        const int middle = (box.top + box.bottom) / 2;
        return WordsUnder({line}, again).empty() || (row.top <= middle && middle < row.bottom);
    });
}

// The words of a crop's reading that lie in the row of the line it reads again: the crop may
// reach into the line's neighbours.
ReadLine WordsInRow(std::vector<ReadLine>& reading, const WordBox& row) {
    ReadLine words;
    for (ReadLine& part : reading) {
        std::copy_if(part.begin(), part.end(), std::back_inserter(words),
                     [&](const ReadWord& word) {
                         const int middle = (word.box.top + word.box.bottom) / 2;
                         return row.top <= middle && middle < row.bottom;
                     });
    }
    return words;
}

}  // namespace

bool ReadMissedAndDoubtfulLines(PageState& page) {
    const GreyPlane& plane = ReadingPlane(page);
    const std::vector<WordBox> inkLines = AtReadingScale(page, page.inkLines);
    std::vector<ReadLine> lines = AtReadingScale(page, std::move(page.reading.lines));
    bool allRead = true;
    std::vector<WordBox> missing;
    // For each missing crop, whether the page is read again when it reads nothing: not for one
    // glyph, nor for ink in a table's cell, which was read on its own.
    std::vector<bool> missingSettled;
    const std::vector<TableRow> tableRows = AtReadingScale(page, page.tableRows);
    for (const WordBox& piece : MissedPieces(inkLines, lines)) {
        if (const WordBox crop = CropOf(piece, plane); !IsEmpty(crop)) {
            if (page.budget.Take(crop)) {
                missing.push_back(crop);
                missingSettled.push_back(IsLoneGlyph(piece) || LiesInACell(piece, tableRows));
            } else {
                allRead = false;
            }
        }
    }
    // Lines that grow to one crop (the lines beside one picture or in one box) share one reading
    // of it: reading it for each would read the same ink again and spend the budget of the lines
    // after them.
    std::vector<ReadLine*> doubtful;
    std::vector<std::size_t> cropOfLine;
    std::vector<WordBox> doubtfulCrops;
    std::vector<WordBox> lineBoxes;
    std::transform(lines.begin(), lines.end(), std::back_inserter(lineBoxes),
                   [](const ReadLine& line) { return BoxOf(line); });
    const int lineHeight = static_cast<int>(MedianHeight(std::move(lineBoxes)).value_or(1));
    for (ReadLine& line : lines) {
        if (!IsLineReadAgain(line, lineHeight)) {
            continue;
        }
        const WordBox crop = CropOf(WithInkItMeets(BoxOf(line), inkLines), plane);
        if (IsEmpty(crop)) {
            continue;
        }
        const auto same = std::find(doubtfulCrops.begin(), doubtfulCrops.end(), crop);
        if (same != doubtfulCrops.end()) {
            doubtful.push_back(&line);
            cropOfLine.push_back(static_cast<std::size_t>(same - doubtfulCrops.begin()));
        } else if (page.budget.Take(crop)) {
            doubtful.push_back(&line);
            cropOfLine.push_back(doubtfulCrops.size());
            doubtfulCrops.push_back(crop);
        }
    }
    std::vector<Reading> again =
        ReadCrops(page.readers, plane, doubtfulCrops, tesseract::PSM_SPARSE_TEXT);
    std::vector<ReadLine> readAgain;
    for (std::size_t i = 0; i < doubtful.size(); ++i) {
        const WordBox row = BoxOf(*doubtful[i]);
        ReadLine words = WordsInRow(again[cropOfLine[i]].lines, row);
        // The crop may read the line's neighbours in its row again (the cells of a table's row):
        // the reading replaces what it covers when every line it covers lies in the row and it
        // is better than all of them; otherwise only the line.
        if (!IsLineReadingBetter(words, *doubtful[i])) {
            continue;
        }
        if (IsReadingOfOneRow(lines, words, row) &&
            IsLineReadingBetter(words, WordsUnder(lines, words))) {
            readAgain.push_back(std::move(words));
        } else {
            *doubtful[i] = std::move(words);
        }
    }
    for (ReadLine& words : readAgain) {
        lines = WithRegionReadAgain(std::move(lines), std::move(words));
    }
    std::vector<Reading> found =
        ReadCrops(page.readers, plane, missing, tesseract::PSM_SPARSE_TEXT);
    for (std::size_t i = 0; i < found.size(); ++i) {
        std::erase_if(found[i].lines, IsMarkLine);
        allRead = allRead && (!found[i].lines.empty() || missingSettled[i]);
        lines = WithMissedPiecesRead(std::move(lines), found[i].lines);
    }
    page.reading.lines = OnPage(page, std::move(lines));
    return allRead;
}

}  // namespace glyphsnap
