// Framed bytes as they travel on Glyphsnap's pipes: a 4-byte little-endian length, then the
// payload. Shared by the tests, which build and split frames without the program's own code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glyphsnap::testing {

inline std::string Frame(std::string_view payload) {
    std::string framed;
    const auto length = static_cast<std::uint32_t>(payload.size());
    for (int i = 0; i < 4; ++i) {
        framed += static_cast<char>((length >> (8 * i)) & 0xFF);
    }
    framed += payload;
    return framed;
}

// The payloads of framed bytes; nothing when the bytes are not whole frames.
inline std::optional<std::vector<std::string>> SplitFrames(std::string_view bytes) {
    std::vector<std::string> payloads;
    while (!bytes.empty()) {
        if (bytes.size() < 4) {
            return std::nullopt;
        }
        std::size_t length = 0;
        for (int i = 3; i >= 0; --i) {
            length = (length << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
        }
        if (bytes.size() - 4 < length) {
            return std::nullopt;
        }
        payloads.emplace_back(bytes.substr(4, length));
        bytes.remove_prefix(4 + length);
    }
    return payloads;
}

}  // namespace glyphsnap::testing
