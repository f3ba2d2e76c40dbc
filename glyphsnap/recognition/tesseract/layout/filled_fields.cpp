#include "glyphsnap/recognition/tesseract/layout/filled_fields.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {
namespace {

constexpr int kLevels = 256;

// One piece of dark pixels, joined side to side.
struct Piece {
    std::uint32_t left = 0;
    std::uint32_t top = 0;
    std::uint32_t right = 0;  // one past the last column
    std::uint32_t bottom = 0;
    std::vector<std::size_t> pixels;
};

// The piece of dark pixels (`dark`, one flag a pixel) that `start` belongs to; its pixels are
// marked seen.
Piece PieceAt(const GreyPlane& plane, const std::vector<std::uint8_t>& dark,
              std::vector<std::uint8_t>& seen, std::size_t start) {
    Piece piece;
    piece.left = plane.width;
    piece.top = plane.height;
    std::vector<std::size_t> open{start};
    seen[start] = 1;
    while (!open.empty()) {
        const std::size_t at = open.back();
        open.pop_back();
        piece.pixels.push_back(at);
        const auto x = static_cast<std::uint32_t>(at % plane.width);
        const auto y = static_cast<std::uint32_t>(at / plane.width);
        piece.left = std::min(piece.left, x);
        piece.right = std::max(piece.right, x + 1);
        piece.top = std::min(piece.top, y);
        piece.bottom = std::max(piece.bottom, y + 1);
        const std::array<std::size_t, 4> sides{
            x > 0 ? at - 1 : at, x + 1 < plane.width ? at + 1 : at, y > 0 ? at - plane.width : at,
            y + 1 < plane.height ? at + plane.width : at};
        for (const std::size_t side : sides) {
            if (dark[side] != 0 && seen[side] == 0) {
                seen[side] = 1;
                open.push_back(side);
            }
        }
    }
    return piece;
}

// The level most of the piece's pixels have, when at least the tuning's share of them lie within
// the field's spread of it: a fill, not a gradient, a picture or the strokes of text.
std::optional<std::uint8_t> FillLevel(const GreyPlane& plane, const Piece& piece) {
    std::array<std::size_t, kLevels> counts{};
    for (const std::size_t at : piece.pixels) {
        ++counts[plane.levels[at]];
    }
    const auto fill =
        static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
    const int spread = Tuning().fieldFillSpread;
    std::size_t near = 0;
    for (int level = std::max(0, fill - spread); level <= std::min(kLevels - 1, fill + spread);
         ++level) {
        near += counts[static_cast<std::size_t>(level)];
    }
    if (!Tuning().fieldFillShare.AtLeast(static_cast<std::int64_t>(near),
                                         static_cast<std::int64_t>(piece.pixels.size()))) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(fill);
}

// True when the piece is shaped like a filled field of text: high enough for a line, at least
// two heights wide, its box mostly its own pixels.
bool IsFieldShaped(const Piece& piece) {
    const std::uint32_t width = piece.right - piece.left;
    const std::uint32_t height = piece.bottom - piece.top;
    const std::int64_t area = std::int64_t{width} * height;
    return height >= Tuning().lowestFilledField && width >= 2 * height &&
           Tuning().fieldFillShare.AtLeast(static_cast<std::int64_t>(piece.pixels.size()), area);
}

// Redraws the field's box: the fill (and anything darker) as `page`, lighter ink darker the
// lighter it is, the lightest black. False when the box holds no ink lighter than the fill.
bool Redraw(GreyPlane& plane, const Piece& piece, std::uint8_t fill, std::uint8_t page) {
    std::uint8_t lightest = fill;
    for (std::uint32_t y = piece.top; y < piece.bottom; ++y) {
        for (std::uint32_t x = piece.left; x < piece.right; ++x) {
            lightest = std::max(lightest, plane.levels[std::size_t{y} * plane.width + x]);
        }
    }
    if (lightest - fill <= Tuning().inkDifference) {
        return false;
    }
    const int range = lightest - fill;
    for (std::uint32_t y = piece.top; y < piece.bottom; ++y) {
        for (std::uint32_t x = piece.left; x < piece.right; ++x) {
            std::uint8_t& level = plane.levels[std::size_t{y} * plane.width + x];
            const int lighter = std::clamp(level - fill, 0, range);
            level = static_cast<std::uint8_t>(page * (range - lighter) / range);
        }
    }
    return true;
}

}  // namespace

bool LightenFilledFields(GreyPlane& plane) {
    const std::uint8_t page = CommonestLevel(plane);
    const int darkest = page - Tuning().filledFieldDifference;
    std::vector<std::uint8_t> dark(plane.levels.size());
    std::transform(plane.levels.begin(), plane.levels.end(), dark.begin(),
                   [&](std::uint8_t level) { return level < darkest ? 1 : 0; });
    std::vector<std::uint8_t> seen(plane.levels.size());
    bool changed = false;
    for (std::size_t start = 0; start < dark.size(); ++start) {
        if (dark[start] == 0 || seen[start] != 0) {
            continue;
        }
        const Piece piece = PieceAt(plane, dark, seen, start);
        if (!IsFieldShaped(piece)) {
            continue;
        }
        if (const std::optional<std::uint8_t> fill = FillLevel(plane, piece)) {
            changed = Redraw(plane, piece, *fill, page) || changed;
        }
    }
    return changed;
}

}  // namespace glyphsnap
