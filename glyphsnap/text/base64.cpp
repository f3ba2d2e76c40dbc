#include "glyphsnap/text/base64.h"

#include <algorithm>
#include <array>

namespace glyphsnap {
namespace {

constexpr std::uint8_t kInvalid = 0xFF;
constexpr std::uint8_t kWhiteSpace = 0xFE;
constexpr std::uint8_t kPadding = 0xFD;
constexpr std::uint8_t kTextEnd = 0xFC;

constexpr std::array<std::uint8_t, 256> MakeDecodeTable() {
    std::array<std::uint8_t, 256> table{};
    for (auto& entry : table) {
        entry = kInvalid;
    }
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < alphabet.size(); ++i) {
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::uint8_t>(i);
    }
    table['='] = kPadding;
    table[' '] = kWhiteSpace;
    table['\t'] = kWhiteSpace;
    table['\r'] = kWhiteSpace;
    table['\n'] = kWhiteSpace;
    table[0] = kTextEnd;
    return table;
}

constexpr auto kDecodeTable = MakeDecodeTable();

}  // namespace

std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text) {
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = in + text.size();

    std::vector<std::uint8_t> out(text.size() / 4 * 3 + 3);
    std::uint8_t* o = out.data();
    std::uint32_t bits = 0;    // data bits of the current block not yet written
    unsigned inBlock = 0;      // characters of the current block, padding included
    unsigned dataInBlock = 0;  // data characters of the current block
    bool padding = false;

    while (in < end) {
        // Whole blocks of four data characters, the common case.
        while (inBlock == 0 && end - in >= 4) {
            const std::uint32_t a = kDecodeTable[in[0]];
            const std::uint32_t b = kDecodeTable[in[1]];
            const std::uint32_t c = kDecodeTable[in[2]];
            const std::uint32_t d = kDecodeTable[in[3]];
            if ((a | b | c | d) >= 64) {
                break;
            }
            const std::uint32_t block = (a << 18) | (b << 12) | (c << 6) | d;
            o[0] = static_cast<std::uint8_t>(block >> 16);
            o[1] = static_cast<std::uint8_t>(block >> 8);
            o[2] = static_cast<std::uint8_t>(block);
            o += 3;
            in += 4;
        }
        if (in == end) {
            break;
        }

        const std::uint8_t value = kDecodeTable[*in++];
        if (value == kTextEnd) {
            break;
        }
        if (value == kInvalid) {
            return std::nullopt;
        }
        if (value == kWhiteSpace) {
            continue;
        }
        if (padding && value != kPadding) {
            return std::nullopt;
        }
        if (value == kPadding) {
            if (inBlock == 0) {
                break;  // padding after a whole block ends the text
            }
            padding = true;
            if (++inBlock == 4) {
                inBlock = 0;  // padding completed the block, which ends the text
                break;
            }
            continue;
        }

        bits = (bits << 6) | value;
        ++inBlock;
        ++dataInBlock;
        if (dataInBlock >= 2) {
            const unsigned shift = (dataInBlock == 2) ? 4 : (dataInBlock == 3) ? 2 : 0;
            *o++ = static_cast<std::uint8_t>(bits >> shift);
            bits &= (1u << shift) - 1;
        }
        if (inBlock == 4) {
            inBlock = 0;
            dataInBlock = 0;
            bits = 0;
        }
    }

    if (inBlock != 0 && padding) {
        return std::nullopt;
    }
    // A block with a single data character still yields a byte, from that character's six bits.
    if (dataInBlock == 1) {
        *o++ = static_cast<std::uint8_t>(bits << 2);
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

}  // namespace glyphsnap
