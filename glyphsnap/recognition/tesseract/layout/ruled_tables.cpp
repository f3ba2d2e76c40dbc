#include "glyphsnap/recognition/tesseract/layout/ruled_tables.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <optional>
#include <utility>

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {
namespace {

// A line across: rows [top, bottom), columns [left, right).
using Rule = WordBox;

class InkMap {
  public:
    explicit InkMap(const GreyPlane& plane)
        : width_(static_cast<int>(plane.width)),
          height_(static_cast<int>(plane.height)),
          ink_(InkOf(plane, Tuning().frameInkDifference)) {}

    bool At(int x, int y) const {
        return ink_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                    static_cast<std::size_t>(x)] != 0;
    }

    // Whether column `x` is a line down through rows [top, bottom): ink in nearly all of them.
    bool IsLineDown(int x, int top, int bottom) const {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            count += At(x, y) ? 1 : 0;
        }
        return bottom > top && Tuning().boxSideFill.AtLeast(count, bottom - top);
    }

    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    int width_;
    int height_;
    std::vector<std::uint8_t> ink_;
};

// The lines across at least `shortest` long and at most the thickest frame stroke thick.
std::vector<Rule> RulesAcross(const InkMap& ink, int shortest) {
    std::vector<Rule> rules;
    std::vector<std::size_t> open;  // rules that reach the row above
    for (int y = 0; y < ink.Height(); ++y) {
        std::vector<std::size_t> extended;
        for (int x = 0; x < ink.Width();) {
            if (!ink.At(x, y)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < ink.Width() && ink.At(end, y)) {
                ++end;
            }
            if (end - x >= shortest) {
                const auto same = std::find_if(open.begin(), open.end(), [&](std::size_t i) {
                    return WithinAFrameStroke(rules[i].left, x) &&
                           WithinAFrameStroke(rules[i].right, end);
                });
                if (same != open.end()) {
                    rules[*same].bottom = y + 1;
                    extended.push_back(*same);
                } else {
                    rules.push_back({x, y, end, y + 1});
                    extended.push_back(rules.size() - 1);
                }
            }
            x = end;
        }
        open = std::move(extended);
    }
    const auto thickest = static_cast<int>(Tuning().thickestFrameStroke);
    std::erase_if(rules, [&](const Rule& rule) { return rule.bottom - rule.top > thickest; });
    return rules;
}

// The lines down that cross the band between `upper` and `lower` from `left` to `right`, each as
// its columns [first, second).
std::vector<std::pair<int, int>> LinesDown(const InkMap& ink, int left, int right, int top,
                                           int bottom) {
    std::vector<std::pair<int, int>> lines;
    for (int x = std::max(0, left); x < std::min(right, ink.Width());) {
        if (!ink.IsLineDown(x, top, bottom)) {
            ++x;
            continue;
        }
        int end = x;
        while (end < std::min(right, ink.Width()) && ink.IsLineDown(end, top, bottom)) {
            ++end;
        }
        if (end - x <= static_cast<int>(Tuning().thickestFrameStroke)) {
            lines.emplace_back(x, end);
        }
        x = end;
    }
    return lines;
}

// The row between two lines across of one length, when lines down join their ends; no cells
// when they do not.
TableRow RowBetween(const InkMap& ink, const Rule& upper, const Rule& lower) {
    const int top = upper.bottom;
    const int bottom = lower.top;
    const int left = std::min(upper.left, lower.left);
    const int right = std::max(upper.right, lower.right);
    if (bottom - top < static_cast<int>(Tuning().thinnestText)) {
        return {};
    }
    const std::vector<std::pair<int, int>> down = LinesDown(ink, left, right, top, bottom);
    if (down.size() < 2 || !WithinAFrameStroke(down.front().first, left) ||
        !WithinAFrameStroke(down.back().second, right)) {
        return {};
    }
    TableRow row;
    for (std::size_t i = 0; i + 1 < down.size(); ++i) {
        row.cells.push_back({down[i].second, top, down[i + 1].first, bottom});
    }
    return row;
}

}  // namespace

std::vector<TableRow> RuledTableRows(const GreyPlane& plane, std::uint32_t shortestRule) {
    if (plane.width == 0 || plane.height == 0) {
        return {};
    }
    const InkMap ink(plane);
    std::vector<Rule> rules = RulesAcross(ink, static_cast<int>(shortestRule));
    std::vector<TableRow> rows;
    std::vector<bool> used(rules.size());
    for (std::size_t first = 0; first < rules.size(); ++first) {
        if (used[first]) {
            continue;
        }
        // The lines across of this one's length, top to bottom.
        std::vector<std::size_t> group;
        for (std::size_t k = first; k < rules.size(); ++k) {
            if (!used[k] && WithinAFrameStroke(rules[k].left, rules[first].left) &&
                WithinAFrameStroke(rules[k].right, rules[first].right)) {
                used[k] = true;
                group.push_back(k);
            }
        }
        // Runs of rows one below the other; a run is a table when two of its rows have two cells.
        std::vector<TableRow> run;
        const auto close = [&] {
            const auto split = std::count_if(run.begin(), run.end(),
                                             [](const TableRow& r) { return r.cells.size() >= 2; });
            if (split >= 2) {
                rows.insert(rows.end(), run.begin(), run.end());
            }
            run.clear();
        };
        for (std::size_t i = 0; i + 1 < group.size(); ++i) {
            TableRow row = RowBetween(ink, rules[group[i]], rules[group[i + 1]]);
            if (row.cells.empty()) {
                close();
            } else {
                run.push_back(std::move(row));
            }
        }
        close();
    }
    std::sort(rows.begin(), rows.end(), [](const TableRow& a, const TableRow& b) {
        return a.cells.front().top < b.cells.front().top;
    });
    return rows;
}

std::vector<TableRow> RowsOfCells(std::vector<WordBox> cells) {
    std::sort(cells.begin(), cells.end(), [](const WordBox& a, const WordBox& b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    std::vector<TableRow> rows;
    for (const WordBox& cell : cells) {
        if (rows.empty() || !WithinAFrameStroke(rows.back().cells.front().top, cell.top)) {
            rows.emplace_back();
        }
        rows.back().cells.push_back(cell);
    }
    for (TableRow& row : rows) {
        std::sort(row.cells.begin(), row.cells.end(),
                  [](const WordBox& a, const WordBox& b) { return a.left < b.left; });
    }
    return rows;
}

std::vector<ReadLine> WithRowsReadByCell(std::vector<ReadLine> lines,
                                         const std::vector<TableRow>& rows,
                                         std::vector<std::vector<ReadLine>> rowReadings) {
    std::vector<bool> read(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        read[i] = !rowReadings[i].empty();
    }
    // The read row whose cells hold a word's middle, or none.
    const auto rowOf = [&](const ReadWord& word) -> std::optional<std::size_t> {
        const int x = (word.box.left + word.box.right) / 2;
        const int y = (word.box.top + word.box.bottom) / 2;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const WordBox& first = rows[i].cells.front();
            const WordBox& last = rows[i].cells.back();
            if (read[i] && first.top <= y && y < first.bottom && first.left <= x &&
                x < last.right) {
                return i;
            }
        }
        return std::nullopt;
    };
    std::vector<ReadLine> result;
    std::size_t placed = 0;  // rows before this one are placed or were not read
    const auto placeUpTo = [&](std::size_t row) {
        for (; placed <= row; ++placed) {
            for (ReadLine& line : rowReadings[placed]) {
                result.push_back(std::move(line));
            }
            rowReadings[placed].clear();
        }
    };
    for (ReadLine& line : lines) {
        ReadLine kept;
        for (ReadWord& word : line) {
            if (const std::optional<std::size_t> row = rowOf(word)) {
                if (*row >= placed) {
                    placeUpTo(*row);
                }
            } else {
                kept.push_back(std::move(word));
            }
        }
        if (!kept.empty()) {
            result.push_back(std::move(kept));
        }
    }
    std::vector<ReadLine> unplaced;
    for (std::vector<ReadLine>& reading : rowReadings) {
        for (ReadLine& line : reading) {
            unplaced.push_back(std::move(line));
        }
    }
    return WithLinesFoundApart(std::move(result), unplaced);
}

namespace {

// Each table's box, its rules included: rows at most a rule's thickness apart are one table.
std::vector<WordBox> TableBoxes(const std::vector<TableRow>& rows, int width, int height) {
    const auto stroke = static_cast<int>(Tuning().thickestFrameStroke);
    std::vector<WordBox> tables;
    for (const TableRow& row : rows) {
        const WordBox band{std::max(0, row.cells.front().left - stroke),
                           std::max(0, row.cells.front().top - stroke),
                           std::min(width, row.cells.back().right + stroke),
                           std::min(height, row.cells.front().bottom + stroke)};
        if (!tables.empty() && band.top <= tables.back().bottom &&
            band.left < tables.back().right && tables.back().left < band.right) {
            WordBox& table = tables.back();
            table = {std::min(table.left, band.left), table.top, std::max(table.right, band.right),
                     std::max(table.bottom, band.bottom)};
        } else {
            tables.push_back(band);
        }
    }
    return tables;
}

}  // namespace

TablesBlanked::TablesBlanked(GreyPlane& plane, const std::vector<TableRow>& rows)
    : plane_(plane),
      tables_(TableBoxes(rows, static_cast<int>(plane.width), static_cast<int>(plane.height))) {
    const int width = static_cast<int>(plane.width);
    const int height = static_cast<int>(plane.height);
    const auto level = [&](int x, int y) -> std::uint8_t& {
        return plane
            .levels[static_cast<std::size_t>(y) * plane.width + static_cast<std::size_t>(x)];
    };
    for (const WordBox& table : tables_) {
        std::array<std::uint32_t, 256> ring{};
        for (int x = table.left; x < table.right; ++x) {
            for (const int y : {table.top - 1, table.bottom}) {
                if (y >= 0 && y < height) {
                    ++ring[level(x, y)];
                }
            }
        }
        for (int y = table.top; y < table.bottom; ++y) {
            for (const int x : {table.left - 1, table.right}) {
                if (x >= 0 && x < width) {
                    ++ring[level(x, y)];
                }
            }
        }
        const auto outside = static_cast<std::uint8_t>(
            std::distance(ring.begin(), std::max_element(ring.begin(), ring.end())));
        for (int y = table.top; y < table.bottom; ++y) {
            for (int x = table.left; x < table.right; ++x) {
                kept_.push_back(level(x, y));
                level(x, y) = outside;
            }
        }
    }
}

TablesBlanked::~TablesBlanked() {
    std::size_t next = 0;
    for (const WordBox& table : tables_) {
        for (int y = table.top; y < table.bottom; ++y) {
            for (int x = table.left; x < table.right; ++x) {
                plane_.levels[static_cast<std::size_t>(y) * plane_.width +
                              static_cast<std::size_t>(x)] = kept_[next++];
            }
        }
    }
}

bool LiesInACell(const WordBox& box, const std::vector<TableRow>& rows) {
    const int x = (box.left + box.right) / 2;
    const int y = (box.top + box.bottom) / 2;
    return std::any_of(rows.begin(), rows.end(), [&](const TableRow& row) {
        return std::any_of(row.cells.begin(), row.cells.end(), [&](const WordBox& cell) {
            return cell.left <= x && x < cell.right && cell.top <= y && y < cell.bottom;
        });
    });
}

std::vector<TableRow> ScaledRows(std::vector<TableRow> rows, float factor) {
    for (TableRow& row : rows) {
        row.cells = ScaledBoxes(row.cells, factor);
    }
    return rows;
}

}  // namespace glyphsnap
