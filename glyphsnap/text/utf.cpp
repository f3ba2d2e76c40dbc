#include "glyphsnap/text/utf.h"

namespace glyphsnap {
namespace {

void AppendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& text, char32_t codePoint) {
    if (codePoint >= 0x10000) {
        codePoint -= 0x10000;
        text += static_cast<char16_t>(0xD800 + (codePoint >> 10));
        text += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    } else {
        text += static_cast<char16_t>(codePoint);
    }
}

bool InRange(unsigned char c, unsigned char low, unsigned char high) {
    return c >= low && c <= high;
}

}  // namespace

Utf8Sequence DecodeUtf8Sequence(std::string_view text) noexcept {
    if (text.empty()) {
        return {};
    }
    const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    // The well-formed byte sequences: the second byte's range depends on the lead, which rules
    // out overlong forms, surrogates and code points above U+10FFFF.
    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    char32_t codePoint = 0;
    if (InRange(lead, 0xC2, 0xDF)) {
        length = 2;
        codePoint = lead & 0x1FU;
    } else if (InRange(lead, 0xE0, 0xEF)) {
        length = 3;
        codePoint = lead & 0x0FU;
        secondLow = lead == 0xE0 ? 0xA0 : 0x80;
        secondHigh = lead == 0xED ? 0x9F : 0xBF;
    } else if (InRange(lead, 0xF0, 0xF4)) {
        length = 4;
        codePoint = lead & 0x07U;
        secondLow = lead == 0xF0 ? 0x90 : 0x80;
        secondHigh = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {};
    }
    if (text.size() < length || !InRange(byte(1), secondLow, secondHigh)) {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!InRange(byte(i), 0x80, 0xBF)) {
            return {};
        }
        codePoint = (codePoint << 6U) | (byte(i) & 0x3FU);
    }
    return {codePoint, length};
}

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string converted;
    converted.reserve(text.size());
    while (!text.empty()) {
        const Utf8Sequence sequence = DecodeUtf8Sequence(text);
        AppendUtf16(converted, sequence.length != 0 ? sequence.codePoint : U'\uFFFD');
        text.remove_prefix(sequence.length != 0 ? sequence.length : 1);
    }
    return converted;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    constexpr char32_t kReplacement = 0xFFFD;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            AppendCodePoint(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) +
                                     (char32_t{text[i + 1]} - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendCodePoint(out, kReplacement);
        } else {
            AppendCodePoint(out, unit);
        }
    }
    return out;
}

}  // namespace glyphsnap
