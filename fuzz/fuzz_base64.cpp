// The decoder must never read or write out of bounds, and whatever it accepts must be what a
// plain reference decoding of the same text gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "glyphsnap/text/base64.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto decoded = glyphsnap::DecodeBase64(text);
    if (!decoded) {
        return 0;
    }
    // Reference: the data characters before the end of the text or the first padding, four to
    // three bytes; a partial block of one or two characters gives one byte, of three two.
    std::string_view body = text.substr(0, text.find('\0'));
    std::size_t dataChars = 0;
    for (const char c : body) {
        if (c == '=') {
            break;
        }
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            ++dataChars;
        }
    }
    const std::size_t partial = dataChars % 4;
    const std::size_t expected = dataChars / 4 * 3 + (partial == 3 ? 2 : partial == 0 ? 0 : 1);
    if (decoded->size() != expected) {
        std::abort();
    }
    return 0;
}
