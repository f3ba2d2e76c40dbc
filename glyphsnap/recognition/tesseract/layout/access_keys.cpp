#include "glyphsnap/recognition/tesseract/layout/access_keys.h"

#include <cstddef>

namespace glyphsnap {
namespace {

bool IsAsciiLetterOrDigit(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

}  // namespace

std::vector<ReadLine> WithAccessKeysInParentheses(std::vector<ReadLine> lines) {
    for (ReadLine& line : lines) {
        for (ReadWord& word : line) {
            std::u16string& text = word.text;
            for (std::size_t i = 0; i + 2 < text.size(); ++i) {
                if (text[i] == u'{' && IsAsciiLetterOrDigit(text[i + 1]) && text[i + 2] == u')') {
                    text[i] = u'(';
                }
            }
        }
    }
    return lines;
}

}  // namespace glyphsnap
