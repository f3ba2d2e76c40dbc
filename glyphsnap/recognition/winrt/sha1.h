// SHA-1 (FIPS 180-4), evaluable at compile time: the Windows Runtime names the interface
// instantiations of its generic types by a hash of their type signature.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace glyphsnap {

class Sha1 {
  public:
    using Digest = std::array<std::uint8_t, 20>;

    constexpr void Update(std::string_view bytes) {
        for (const char c : bytes) {
            Push(static_cast<std::uint8_t>(c));
            bitLength_ += 8;
        }
    }

    constexpr void Update(const std::uint8_t* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            Push(bytes[i]);
            bitLength_ += 8;
        }
    }

    // The digest of everything updated so far; the object is spent afterwards.
    constexpr Digest Finish() {
        const std::uint64_t bits = bitLength_;
        Push(0x80);
        while (used_ != 56) {
            Push(0);
        }
        for (int shift = 56; shift >= 0; shift -= 8) {
            Push(static_cast<std::uint8_t>(bits >> shift));
        }
        Digest digest{};
        for (std::size_t i = 0; i < 20; ++i) {
            digest[i] = static_cast<std::uint8_t>(state_[i / 4] >> (24 - 8 * (i % 4)));
        }
        return digest;
    }

  private:
    static constexpr std::uint32_t Rotate(std::uint32_t value, int count) {
        return (value << count) | (value >> (32 - count));
    }

    constexpr void Push(std::uint8_t byte) {
        block_[used_++] = byte;
        if (used_ == block_.size()) {
            Compress();
            used_ = 0;
        }
    }

    constexpr void Compress() {
        std::array<std::uint32_t, 80> w{};
        for (std::size_t i = 0; i < 16; ++i) {
            w[i] = (std::uint32_t{block_[4 * i]} << 24) | (std::uint32_t{block_[4 * i + 1]} << 16) |
                   (std::uint32_t{block_[4 * i + 2]} << 8) | std::uint32_t{block_[4 * i + 3]};
        }
        for (std::size_t i = 16; i < 80; ++i) {
            w[i] = Rotate(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
        }
        std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3], e = state_[4];
        for (std::size_t i = 0; i < 80; ++i) {
            std::uint32_t f = 0;
            std::uint32_t k = 0;
            if (i < 20) {
                f = (b & c) | (~b & d);
                k = 0x5A827999;
            } else if (i < 40) {
                f = b ^ c ^ d;
                k = 0x6ED9EBA1;
            } else if (i < 60) {
                f = (b & c) | (b & d) | (c & d);
                k = 0x8F1BBCDC;
            } else {
                f = b ^ c ^ d;
                k = 0xCA62C1D6;
            }
            const std::uint32_t next = Rotate(a, 5) + f + e + k + w[i];
            e = d;
            d = c;
            c = Rotate(b, 30);
            b = a;
            a = next;
        }
        state_[0] += a;
        state_[1] += b;
        state_[2] += c;
        state_[3] += d;
        state_[4] += e;
    }

    std::array<std::uint32_t, 5> state_{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    std::array<std::uint8_t, 64> block_{};
    std::size_t used_ = 0;
    std::uint64_t bitLength_ = 0;
};

}  // namespace glyphsnap
