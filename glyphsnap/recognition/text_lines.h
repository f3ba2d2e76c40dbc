// The recognised words joined into the text a recognition request answers with.
#pragma once

#include <string>
#include <vector>

namespace glyphsnap {

// One line of a recognition result: its words in reading order.
struct OcrLine {
    std::vector<std::u16string> words;
};

// Joins the words of each line, with one space only where a printable ASCII character ends a word
// and an ASCII letter starts the next, and ends every line with CR LF.
std::u16string AssembleOcrText(const std::vector<OcrLine>& lines);

}  // namespace glyphsnap
