#include "glyphsnap/recognition/tesseract/passes/pass_ruled_tables.h"

#include <tesseract/baseapi.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/ruled_tables.h"
#include "glyphsnap/recognition/tesseract/passes/plane_readings.h"

namespace glyphsnap {
namespace {

// Whether any pixel of `box` differs from the box's commonest level as ink does.
bool HoldsInk(const GreyPlane& plane, const WordBox& box) {
    const int commonest = CommonestLevelIn(
        plane, static_cast<std::uint32_t>(box.left), static_cast<std::uint32_t>(box.top),
        static_cast<std::uint32_t>(box.right), static_cast<std::uint32_t>(box.bottom));
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            const int level = plane.levels[static_cast<std::size_t>(y) * plane.width +
                                           static_cast<std::size_t>(x)];
            if (std::abs(level - commonest) > Tuning().inkDifference) {
                return true;
            }
        }
    }
    return false;
}

// The boxes of the text lines of `cell`: the pieces of ink lines whose middles lie in it, those
// of one row joined, each grown by the crop margin within the cell; top to bottom.
std::vector<WordBox> TextLinesIn(const WordBox& cell, const std::vector<WordBox>& inkLines) {
    std::vector<WordBox> lines;
    for (const WordBox& piece : inkLines) {
        const int x = (piece.left + piece.right) / 2;
        const int y = (piece.top + piece.bottom) / 2;
        if (x < cell.left || x >= cell.right || y < cell.top || y >= cell.bottom) {
            continue;
        }
        const auto row = std::find_if(lines.begin(), lines.end(), [&](const WordBox& line) {
            return line.top < piece.bottom && piece.top < line.bottom;
        });
        if (row != lines.end()) {
            *row = {std::min(row->left, piece.left), std::min(row->top, piece.top),
                    std::max(row->right, piece.right), std::max(row->bottom, piece.bottom)};
        } else {
            lines.push_back(piece);
        }
    }
    const int margin = Tuning().cropMargin;
    for (WordBox& line : lines) {
        line = {std::max(cell.left, line.left - margin), std::max(cell.top, line.top - margin),
                std::min(cell.right, line.right + margin),
                std::min(cell.bottom, line.bottom + margin)};
    }
    std::sort(lines.begin(), lines.end(),
              [](const WordBox& a, const WordBox& b) { return a.top < b.top; });
    return lines;
}

// The words of each reading, its lines one after the other.
std::vector<ReadLine> WordsOf(const std::vector<Reading>& readings) {
    std::vector<ReadLine> words(readings.size());
    for (std::size_t i = 0; i < readings.size(); ++i) {
        for (const ReadLine& line : readings[i].lines) {
            words[i].insert(words[i].end(), line.begin(), line.end());
        }
    }
    return words;
}

// The words of each crop of `plane` read in `mode`, each crop's lines one after the other. The
// engines are handed only the band of rows the crops lie in: a table is often a small part of a
// large page, and each engine keeps its own copy of what it is handed.
std::vector<ReadLine> WordsOfCrops(const Readers& readers, const GreyPlane& plane,
                                   std::vector<WordBox> crops, tesseract::PageSegMode mode) {
    if (crops.empty()) {
        return {};
    }
    int top = crops.front().top;
    int bottom = crops.front().bottom;
    for (const WordBox& crop : crops) {
        top = std::min(top, crop.top);
        bottom = std::max(bottom, crop.bottom);
    }
    for (WordBox& crop : crops) {
        crop.top -= top;
        crop.bottom -= top;
    }
    std::vector<ReadLine> words = WordsOf(ReadCrops(
        readers, Rows(plane, static_cast<std::uint32_t>(top), static_cast<std::uint32_t>(bottom)),
        crops, mode));
    for (ReadLine& line : words) {
        for (ReadWord& word : line) {
            word.box.top += top;
            word.box.bottom += top;
        }
    }
    return words;
}

}  // namespace

void ReadRuledTables(PageState& page) {
    if (page.tableRows.empty()) {
        return;
    }
    const GreyPlane& plane = ReadingPlane(page);
    const std::vector<TableRow> rows = AtReadingScale(page, page.tableRows);
    const std::vector<WordBox> inkLines = AtReadingScale(page, page.inkLines);
    std::vector<WordBox> cells;
    std::vector<std::size_t> rowOfCell;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (const WordBox& cell : rows[r].cells) {
            if (cell.right > cell.left && cell.bottom > cell.top && HoldsInk(plane, cell)) {
                cells.push_back(cell);
                rowOfCell.push_back(r);
            }
        }
    }
    std::vector<ReadLine> cellWords =
        WordsOfCrops(page.readers, plane, cells, tesseract::PSM_SINGLE_BLOCK);
    // A doubtful cell is read again line by line: read as one block, a cell's short last line
    // may be taken into the one above, and the mixed model then reads the two as Latin nonsense.
    std::vector<WordBox> lineCrops;
    std::vector<std::size_t> cellOfLine;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cellWords[i].empty() || IsLineDoubtful(cellWords[i])) {
            for (const WordBox& line : TextLinesIn(cells[i], inkLines)) {
                lineCrops.push_back(line);
                cellOfLine.push_back(i);
            }
        }
    }
    const std::vector<ReadLine> lineWords =
        WordsOfCrops(page.readers, plane, lineCrops, tesseract::PSM_SINGLE_BLOCK);
    std::vector<ReadLine> cellsAgain(cells.size());
    for (std::size_t k = 0; k < lineCrops.size(); ++k) {
        ReadLine& again = cellsAgain[cellOfLine[k]];
        again.insert(again.end(), lineWords[k].begin(), lineWords[k].end());
    }
    // Each row as one line, its cells' words from left to right: the cell order would take the
    // cells' lines side by side for the rows of a table of its own.
    std::vector<std::vector<ReadLine>> rowReadings(rows.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const bool better =
            !cellsAgain[i].empty() && MeanConfidence(cellsAgain[i]) >
                                          MeanConfidence(cellWords[i]) + Tuning().betterLineMargin;
        const ReadLine& words = better ? cellsAgain[i] : cellWords[i];
        std::vector<ReadLine>& row = rowReadings[rowOfCell[i]];
        if (!words.empty()) {
            if (row.empty()) {
                row.emplace_back();
            }
            row.front().insert(row.front().end(), words.begin(), words.end());
        }
    }
    page.reading.lines =
        OnPage(page, WithRowsReadByCell(AtReadingScale(page, std::move(page.reading.lines)), rows,
                                        std::move(rowReadings)));
    // The page is as sure as its words, the cells' among them: a page that is all table read
    // nothing at first.
    float sum = 0;
    std::size_t words = 0;
    for (const ReadLine& line : page.reading.lines) {
        for (const ReadWord& word : line) {
            sum += word.confidence;
            ++words;
        }
    }
    page.reading.confidence = words == 0 ? 0 : static_cast<int>(sum / static_cast<float>(words));
}

}  // namespace glyphsnap
