#pragma once

#include <string>
#include <string_view>

namespace glyphsnap {

// UTF-16 to UTF-8 as WideCharToMultiByte(CP_UTF8, 0) converts: a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace glyphsnap
