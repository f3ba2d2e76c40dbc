#include "glyphsnap/recognition/tesseract/layout/boxes.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/reading_tuning.h"

namespace glyphsnap {
namespace {

// One piece of ink: its label in the plane's label map and its bounds, right and bottom one past.
struct Piece {
    std::uint32_t label = 0;
    std::uint32_t left = 0;
    std::uint32_t top = 0;
    std::uint32_t right = 0;
    std::uint32_t bottom = 0;
};

// The pieces of ink of `ink` (one flag a pixel), each pixel labelled in `labels` (0 for none).
std::vector<Piece> PiecesOf(const std::vector<std::uint8_t>& ink, std::uint32_t width,
                            std::uint32_t height, std::vector<std::uint32_t>& labels) {
    std::vector<Piece> pieces;
    std::vector<std::size_t> open;
    for (std::size_t start = 0; start < ink.size(); ++start) {
        if (ink[start] == 0 || labels[start] != 0) {
            continue;
        }
        Piece piece{static_cast<std::uint32_t>(pieces.size() + 1), width, height, 0, 0};
        labels[start] = piece.label;
        open.push_back(start);
        while (!open.empty()) {
            const std::size_t at = open.back();
            open.pop_back();
            const auto x = static_cast<std::uint32_t>(at % width);
            const auto y = static_cast<std::uint32_t>(at / width);
            piece.left = std::min(piece.left, x);
            piece.right = std::max(piece.right, x + 1);
            piece.top = std::min(piece.top, y);
            piece.bottom = std::max(piece.bottom, y + 1);
            for (std::uint32_t ny = y == 0 ? 0 : y - 1; ny <= std::min(y + 1, height - 1); ++ny) {
                for (std::uint32_t nx = x == 0 ? 0 : x - 1; nx <= std::min(x + 1, width - 1);
                     ++nx) {
                    const std::size_t next = std::size_t{ny} * width + nx;
                    if (ink[next] != 0 && labels[next] == 0) {
                        labels[next] = piece.label;
                        open.push_back(next);
                    }
                }
            }
        }
        pieces.push_back(piece);
    }
    return pieces;
}

// One side of a piece's bounds, walked inward from its outermost line: lines along it are rows
// for the top and bottom, columns for the left and right.
struct Side {
    bool rows = true;
    bool fromEnd = false;  // from the bottom or the right
};

class PieceView {
  public:
    PieceView(const std::vector<std::uint32_t>& labels, std::uint32_t width, const Piece& piece)
        : labels_(labels), width_(width), piece_(piece) {}

    // The number of the piece's pixels in the `depth`th line of `side` from the outside.
    std::uint32_t CountIn(const Side& side, std::uint32_t depth) const {
        const std::uint32_t line =
            side.rows ? (side.fromEnd ? piece_.bottom - 1 - depth : piece_.top + depth)
                      : (side.fromEnd ? piece_.right - 1 - depth : piece_.left + depth);
        std::uint32_t count = 0;
        const std::uint32_t first = side.rows ? piece_.left : piece_.top;
        const std::uint32_t last = side.rows ? piece_.right : piece_.bottom;
        for (std::uint32_t along = first; along < last; ++along) {
            count += labels_[At(side, line, along)] == piece_.label ? 1 : 0;
        }
        return count;
    }

    std::uint32_t Length(const Side& side) const {
        return side.rows ? piece_.right - piece_.left : piece_.bottom - piece_.top;
    }

    std::uint32_t Depth(const Side& side) const {
        return side.rows ? piece_.bottom - piece_.top : piece_.right - piece_.left;
    }

    std::size_t At(const Side& side, std::uint32_t line, std::uint32_t along) const {
        return side.rows ? std::size_t{line} * width_ + along : std::size_t{along} * width_ + line;
    }

  private:
    const std::vector<std::uint32_t>& labels_;
    std::uint32_t width_;
    const Piece& piece_;
};

// How many lines deep `side` of the piece is drawn: the outermost lines each nearly whole, at most
// the thickest frame stroke, followed by a line far from whole (the box is not filled); 0 when the
// side is no such line.
std::uint32_t SideThickness(const PieceView& view, const Side& side) {
    const std::uint32_t length = view.Length(side);
    const std::uint32_t thickest = std::min(Tuning().thickestFrameStroke, view.Depth(side) / 2);
    std::uint32_t depth = 0;
    while (depth < thickest && Tuning().boxSideFill.AtLeast(view.CountIn(side, depth), length)) {
        ++depth;
    }
    if (depth == 0 || depth == thickest) {
        return 0;
    }
    return Tuning().boxInsideFill.AtMost(view.CountIn(side, depth), length) ? depth : 0;
}

// A box and how many lines deep each of its sides is drawn: top, bottom, left, right.
struct Box {
    Piece piece;
    std::array<std::uint32_t, 4> thickness;
};

// True when ink lies inside the box's sides: text, where a colour swatch's frame holds none.
bool HoldsInk(const Box& box, const std::vector<std::uint8_t>& ink, std::uint32_t width) {
    const Piece& p = box.piece;
    for (std::uint32_t y = p.top + box.thickness[0]; y + box.thickness[1] < p.bottom; ++y) {
        for (std::uint32_t x = p.left + box.thickness[2]; x + box.thickness[3] < p.right; ++x) {
            if (ink[std::size_t{y} * width + x] != 0) {
                return true;
            }
        }
    }
    return false;
}

// True when `box` is a cell of a table of boxes (each holding ink): another box stands right beside
// it with the same top and bottom, and another right above or below it with the same left and
// right, each at most a frame stroke's thickness away. Fields, group boxes and code blocks stand
// alone or further apart.
bool IsTableCell(const Box& box, const std::vector<Box>& boxes) {
    const Piece& cell = box.piece;
    const auto inRow = [&](const Box& other) {
        const Piece& o = other.piece;
        return &other != &box && WithinAFrameStroke(o.top, cell.top) &&
               WithinAFrameStroke(o.bottom, cell.bottom) &&
               (WithinAFrameStroke(o.right, cell.left) || WithinAFrameStroke(o.left, cell.right));
    };
    const auto inColumn = [&](const Box& other) {
        const Piece& o = other.piece;
        return &other != &box && WithinAFrameStroke(o.left, cell.left) &&
               WithinAFrameStroke(o.right, cell.right) &&
               (WithinAFrameStroke(o.bottom, cell.top) || WithinAFrameStroke(o.top, cell.bottom));
    };
    return std::any_of(boxes.begin(), boxes.end(), inRow) &&
           std::any_of(boxes.begin(), boxes.end(), inColumn);
}

}  // namespace

std::vector<WordBox> RemoveBoxSides(GreyPlane& plane, std::uint32_t shortestSide) {
    if (plane.width == 0 || plane.height == 0) {
        return {};
    }
    const std::uint8_t background = CommonestLevel(plane);
    const std::vector<std::uint8_t> ink = InkOf(plane, background, Tuning().frameInkDifference);
    std::vector<std::uint32_t> labels(ink.size(), 0);
    const std::array<Side, 4> sides{Side{true, false}, Side{true, true}, Side{false, false},
                                    Side{false, true}};
    std::vector<Box> boxes;
    for (const Piece& piece : PiecesOf(ink, plane.width, plane.height, labels)) {
        if (piece.right - piece.left < shortestSide || piece.bottom - piece.top < shortestSide) {
            continue;
        }
        const PieceView view(labels, plane.width, piece);
        Box box{piece, {}};
        for (std::size_t i = 0; i < sides.size(); ++i) {
            box.thickness[i] = SideThickness(view, sides[i]);
        }
        if (std::find(box.thickness.begin(), box.thickness.end(), 0U) == box.thickness.end() &&
            HoldsInk(box, ink, plane.width)) {
            boxes.push_back(box);
        }
    }
    std::vector<WordBox> cells;
    for (const Box& box : boxes) {
        if (!IsTableCell(box, boxes)) {
            continue;
        }
        const Piece& piece = box.piece;
        cells.push_back({static_cast<int>(piece.left + box.thickness[2]),
                         static_cast<int>(piece.top + box.thickness[0]),
                         static_cast<int>(piece.right - box.thickness[3]),
                         static_cast<int>(piece.bottom - box.thickness[1])});
        const PieceView view(labels, plane.width, piece);
        for (std::size_t i = 0; i < sides.size(); ++i) {
            const Side& side = sides[i];
            for (std::uint32_t depth = 0; depth < box.thickness[i]; ++depth) {
                const std::uint32_t line =
                    side.rows ? (side.fromEnd ? piece.bottom - 1 - depth : piece.top + depth)
                              : (side.fromEnd ? piece.right - 1 - depth : piece.left + depth);
                const std::uint32_t first = side.rows ? piece.left : piece.top;
                const std::uint32_t last = side.rows ? piece.right : piece.bottom;
                for (std::uint32_t along = first; along < last; ++along) {
                    const std::size_t at = view.At(side, line, along);
                    if (labels[at] == piece.label) {
                        plane.levels[at] = background;
                    }
                }
            }
        }
    }
    return cells;
}

}  // namespace glyphsnap
