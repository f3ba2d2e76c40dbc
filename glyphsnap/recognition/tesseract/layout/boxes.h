// Boxes drawn around text, each side one thin line: the cells of a table whose cells have borders
// of their own, text fields, code blocks.
#pragma once

#include <cstdint>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/planes.h"
#include "glyphsnap/recognition/tesseract/layout/words.h"

namespace glyphsnap {

// The sides of each box of `plane` at least `shortestSide` pixels wide and high painted over with
// the page's commonest level. A box is a piece of ink (its pixels joined at sides or corners)
// whose outermost rows and columns are each lines of at most the thickest frame stroke, drawn
// along nearly all of the box (rounded corners leave a little out), and whose inside is not
// filled. Text may touch a side from within: a cell's glyphs a pixel from its border keep a frame
// line's clearance from no side, and the engine reads the border as `|`, `[` or `l`. Returns the
// inside of each box whose sides went: the cells of the tables of boxes.
std::vector<WordBox> RemoveBoxSides(GreyPlane& plane, std::uint32_t shortestSide);

}  // namespace glyphsnap
