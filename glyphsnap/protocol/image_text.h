// Text rules applied to a request's "image" member before it is decoded.
#pragma once

#include <string_view>

namespace glyphsnap {

// What follows the first comma (the end of a data-URL header), or the text unchanged.
std::string_view StripDataUrlPrefix(std::string_view text);

// The text without leading and trailing LF, CR, space, quotation marks and backslashes.
std::string_view TrimImageText(std::string_view text);

}  // namespace glyphsnap
