#include "recognition_tesseract_text.h"

namespace glyphsnap {
namespace {

void AppendUtf16(std::u16string& text, char32_t codePoint) {
    if (codePoint >= 0x10000) {
        codePoint -= 0x10000;
        text += static_cast<char16_t>(0xD800 + (codePoint >> 10));
        text += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    } else {
        text += static_cast<char16_t>(codePoint);
    }
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string converted;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        char32_t codePoint = length == 1   ? lead
                             : length == 2 ? lead & 0x1F
                             : length == 3 ? lead & 0x0F
                                           : lead & 0x07;
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && codePoint >= kSmallest[length] && codePoint <= 0x10FFFF &&
                (codePoint < 0xD800 || codePoint > 0xDFFF);
        AppendUtf16(converted, valid ? codePoint : U'\uFFFD');
        i += valid ? length : 1;
    }
    return converted;
}

}  // namespace glyphsnap
