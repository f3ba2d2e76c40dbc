// The pass that reads the cells of ruled tables one by one.
#pragma once

#include "glyphsnap/recognition/tesseract/passes/page_state.h"

namespace glyphsnap {

// Each cell of the page's ruled tables that holds ink read on its own, the two engines sharing
// them, and each row's cells put in place of what the first reading read across the row. Read as
// one block, a table's rows run together: a wrapped cell's lines fall between the lines of the
// row's other cells, and a short cell's text is lost beside a long one.
void ReadRuledTables(PageState& page);

}  // namespace glyphsnap
