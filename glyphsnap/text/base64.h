// Base64 decoding with the acceptance rules of CryptStringToBinaryW(CRYPT_STRING_BASE64), so that
// the Linux build accepts and refuses exactly what the Windows build does.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace glyphsnap {

// Decodes `text`, which ends at its first NUL as a C string would. Space, tab, CR and LF are
// skipped anywhere; padding is optional, but once it starts only padding may follow until the
// block is full, and a full block of padding ends the text. Any other character refuses the text.
// Returns nothing for refused text; the result holds as many bytes as the text announces.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text);

}  // namespace glyphsnap
