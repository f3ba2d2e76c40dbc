// Access keys after a label: `删除(R)`, its letter underlined, which the engine reads as `{R)`.
#pragma once

#include <vector>

#include "glyphsnap/recognition/tesseract/layout/words.h"

namespace glyphsnap {

// `lines` with each `{` that one letter or digit and a `)` follow read as the `(` it is: the
// underline under the key's letter reaches left under the parenthesis and makes a brace of it. A
// brace closed by a parenthesis is never text.
std::vector<ReadLine> WithAccessKeysInParentheses(std::vector<ReadLine> lines);

}  // namespace glyphsnap
