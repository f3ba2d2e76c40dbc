// Glyphsnap's one UTF-8 decoder and its UTF-16 conversions: the wire carries UTF-8, recognised
// text and the platform's calls are UTF-16.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace glyphsnap {

// The first UTF-8 sequence of text when it is well formed (shortest form, no surrogate, at most
// U+10FFFF, whole): its code point and its length in bytes. Length 0 otherwise, also for empty
// text. An ASCII byte is a sequence of one.
struct Utf8Sequence {
    char32_t codePoint = 0;
    std::size_t length = 0;
};
[[nodiscard]] Utf8Sequence DecodeUtf8Sequence(std::string_view text) noexcept;

// UTF-8 to UTF-16; each byte that does not start a well-formed sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);

// UTF-16 to UTF-8 as WideCharToMultiByte(CP_UTF8, 0) converts: a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace glyphsnap
