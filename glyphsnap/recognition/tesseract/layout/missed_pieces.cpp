#include "glyphsnap/recognition/tesseract/layout/missed_pieces.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {
namespace {

// Whether `piece` lies in the row of `before`, to its right and near enough to be read with it.
bool IsNearInItsRow(const WordBox& before, const WordBox& piece) {
    const int height = std::max(before.bottom - before.top, piece.bottom - piece.top);
    return piece.top < before.bottom && before.top < piece.bottom &&
           piece.left - before.right <= static_cast<int>(Tuning().widestJoinedGap) * height;
}

}  // namespace

std::vector<WordBox> MissedPieces(const std::vector<WordBox>& pieces,
                                  const std::vector<ReadLine>& lines) {
    std::vector<WordBox> missed;
    bool joinable = false;  // the piece before was missed too
    for (const WordBox& piece : pieces) {
        const bool met = std::any_of(lines.begin(), lines.end(), [&](const ReadLine& line) {
            return std::any_of(line.begin(), line.end(), [&](const ReadWord& word) {
                return IsMoreThanAMark(word) && BoxesMeet(piece, word.box);
            });
        });
        if (met) {
            joinable = false;
            continue;
        }
        if (joinable && IsNearInItsRow(missed.back(), piece)) {
            WordBox& row = missed.back();
            row = {std::min(row.left, piece.left), std::min(row.top, piece.top),
                   std::max(row.right, piece.right), std::max(row.bottom, piece.bottom)};
        } else {
            missed.push_back(piece);
        }
        joinable = true;
    }
    return missed;
}

namespace {

// Whether `word` is no more than a mark where it meets a word of `found` in that word's row.
bool IsMarkUnder(const ReadWord& word, const ReadLine& found) {
    const int middle = (word.box.top + word.box.bottom) / 2;
    return !IsMoreThanAMark(word) &&
           std::any_of(found.begin(), found.end(), [&](const ReadWord& mine) {
               return BoxesMeet(word.box, mine.box) && mine.box.top <= middle &&
                      middle < mine.box.bottom;
           });
}

}  // namespace

void DropMarksUnder(std::vector<ReadLine>& lines, const std::vector<ReadLine>& found) {
    for (ReadLine& line : lines) {
        std::erase_if(line, [&](const ReadWord& word) {
            return std::any_of(found.begin(), found.end(),
                               [&](const ReadLine& other) { return IsMarkUnder(word, other); });
        });
    }
}

std::vector<ReadLine> WithMissedPiecesRead(std::vector<ReadLine> lines,
                                           const std::vector<ReadLine>& found) {
    // For each found line, the one line whose marks it takes out, and where the first of them was.
    std::vector<std::optional<std::pair<std::size_t, int>>> places(found.size());
    for (std::size_t f = 0; f < found.size(); ++f) {
        std::size_t linesMet = 0;
        for (std::size_t l = 0; l < lines.size(); ++l) {
            const auto first =
                std::find_if(lines[l].begin(), lines[l].end(),
                             [&](const ReadWord& w) { return IsMarkUnder(w, found[f]); });
            if (first != lines[l].end() && ++linesMet == 1) {
                places[f] = std::make_pair(l, first->box.left);
            }
        }
        if (linesMet != 1) {
            places[f].reset();
        }
    }
    DropMarksUnder(lines, found);
    std::vector<ReadLine> apart;
    for (std::size_t f = 0; f < found.size(); ++f) {
        if (!places[f] || MeetsAWordOf(lines, found[f])) {
            apart.push_back(found[f]);
            continue;
        }
        ReadLine& line = lines[places[f]->first];
        const auto at = std::find_if(line.begin(), line.end(), [&](const ReadWord& word) {
            return word.box.left > places[f]->second;
        });
        line.insert(at, found[f].begin(), found[f].end());
    }
    std::erase_if(lines, [](const ReadLine& line) { return line.empty(); });
    return WithLinesFoundApart(std::move(lines), apart);
}

}  // namespace glyphsnap
