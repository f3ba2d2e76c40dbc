#include "glyphsnap/recognition/text_lines.h"

namespace glyphsnap {
namespace {

bool IsPrintableAsciiOtherThanSpace(char16_t unit) {
    return unit >= u'\x21' && unit <= u'\x7E';
}

bool IsAsciiLetter(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

bool NeedsSpaceBetween(const std::u16string& word, const std::u16string& next) {
    return !word.empty() && !next.empty() && IsPrintableAsciiOtherThanSpace(word.back()) &&
           IsAsciiLetter(next.front());
}

}  // namespace

std::u16string AssembleOcrText(const std::vector<OcrLine>& lines) {
    std::u16string text;
    for (const OcrLine& line : lines) {
        const auto& words = line.words;
        for (std::size_t j = 0; j < words.size(); ++j) {
            text += words[j];
            if (j + 1 < words.size() && NeedsSpaceBetween(words[j], words[j + 1])) {
                text += u' ';
            }
        }
        text += u"\r\n";
    }
    return text;
}

}  // namespace glyphsnap
