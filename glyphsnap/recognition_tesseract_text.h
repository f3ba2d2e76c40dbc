// Tesseract's words arrive as UTF-8; the recognised text is UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace glyphsnap {

// The text in UTF-16; each byte of a malformed, overlong or surrogate sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);

}  // namespace glyphsnap
