#include "glyphsnap/recognition/tesseract/layout/ideograph_votes.h"

#include <algorithm>
#include <cstdint>

namespace glyphsnap {
namespace {

// An ideograph of one unit: half of a surrogate pair is never swapped alone.
bool IsIdeograph(char16_t unit) {
    return (unit < 0xD800 || unit > 0xDFFF) && HoldsIdeograph(std::u16string_view(&unit, 1));
}

// A line's characters, spaces left out, each with the confidence of its word.
struct Characters {
    std::u16string text;
    std::vector<float> confidences;
};

Characters CharactersOf(const ReadLine& line) {
    Characters characters;
    for (const ReadWord& word : line) {
        for (const char16_t unit : word.text) {
            if (unit != u' ') {
                characters.text.push_back(unit);
                characters.confidences.push_back(word.confidence);
            }
        }
    }
    return characters;
}

}  // namespace

std::vector<std::size_t> AlignedInPlaceOf(std::u16string_view a, std::u16string_view b) {
    const std::size_t columns = b.size() + 1;
    // Edit distances of every pair of prefixes: lines are at most a few hundred characters.
    std::vector<std::uint32_t> cost((a.size() + 1) * columns);
    const auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& {
        return cost[i * columns + j];
    };
    const auto substitution = [&](std::size_t i, std::size_t j) {
        return at(i - 1, j - 1) + (a[i - 1] == b[j - 1] ? 0U : 1U);
    };
    for (std::size_t i = 0; i <= a.size(); ++i) {
        at(i, 0) = static_cast<std::uint32_t>(i);
    }
    for (std::size_t j = 0; j <= b.size(); ++j) {
        at(0, j) = static_cast<std::uint32_t>(j);
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            at(i, j) = std::min({substitution(i, j), at(i - 1, j) + 1, at(i, j - 1) + 1});
        }
    }
    std::vector<std::size_t> inPlace(a.size(), std::u16string_view::npos);
    std::size_t i = a.size();
    std::size_t j = b.size();
    while (i > 0 && j > 0) {
        if (at(i, j) == substitution(i, j)) {
            inPlace[--i] = --j;
        } else if (at(i, j) == at(i - 1, j) + 1) {
            --i;
        } else {
            --j;
        }
    }
    return inPlace;
}

ReadLine WithIdeographsOthersAgreeOn(ReadLine line, const std::vector<ReadLine>& others,
                                     float doubtfulBelow) {
    if (others.empty()) {
        return line;
    }
    const Characters mine = CharactersOf(line);
    std::vector<Characters> theirs;
    std::vector<std::vector<std::size_t>> inPlace;
    for (const ReadLine& other : others) {
        theirs.push_back(CharactersOf(other));
        inPlace.push_back(AlignedInPlaceOf(mine.text, theirs.back().text));
    }
    // What reading `r` puts in place of character `at` in a word more confident than this
    // line's; 0 where it puts nothing or is less sure.
    const auto surerInPlace = [&](std::size_t r, std::size_t at) -> char16_t {
        const std::size_t index = inPlace[r][at];
        return index != std::u16string_view::npos &&
                       theirs[r].confidences[index] > mine.confidences[at]
                   ? theirs[r].text[index]
                   : u'\0';
    };
    std::size_t at = 0;
    for (ReadWord& word : line) {
        for (char16_t& unit : word.text) {
            if (unit == u' ') {
                continue;
            }
            const char16_t agreed = surerInPlace(0, at);
            if (word.confidence < doubtfulBelow && IsIdeograph(unit) && IsIdeograph(agreed) &&
                agreed != unit) {
                bool all = true;
                for (std::size_t r = 1; r < others.size(); ++r) {
                    all = all && surerInPlace(r, at) == agreed;
                }
                if (all) {
                    unit = agreed;
                }
            }
            ++at;
        }
    }
    return line;
}

}  // namespace glyphsnap
