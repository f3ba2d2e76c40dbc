// Interface identifiers of Windows Runtime generic instantiations (IAsyncOperation<T>,
// IVectorView<T>, ...). The platform derives them from the instantiation's type signature as a
// name-based version 5 UUID: SHA-1 over a fixed namespace identifier followed by the signature in
// UTF-8 ("Guid generation for parameterized types" in the Windows Runtime type-system
// documentation; the same rule as RFC 4122 section 4.3). Plain C++, so both builds test it.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "glyphsnap/recognition/winrt/sha1.h"

namespace glyphsnap {

struct RuntimeIid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};
    friend constexpr bool operator==(const RuntimeIid&, const RuntimeIid&) = default;
};

// The namespace of every parameterised instantiation, 11f47ad5-7b73-42c0-abae-878b1e16adee, in
// the byte order the hash takes it (most significant byte first).
inline constexpr std::array<std::uint8_t, 16> kParameterizedIidNamespace{
    0x11, 0xf4, 0x7a, 0xd5, 0x7b, 0x73, 0x42, 0xc0, 0xab, 0xae, 0x87, 0x8b, 0x1e, 0x16, 0xad, 0xee};

// The identifier of the instantiation whose signature is the concatenation of `signatureParts`,
// for example "pinterface({9fc2b0bb-e446-44e2-aa61-9cab8f636af2};b1)" for IAsyncOperation<bool>.
constexpr RuntimeIid ParameterizedIid(std::initializer_list<std::string_view> signatureParts) {
    Sha1 hash;
    hash.Update(kParameterizedIidNamespace.data(), kParameterizedIidNamespace.size());
    for (const std::string_view part : signatureParts) {
        hash.Update(part);
    }
    const Sha1::Digest digest = hash.Finish();
    RuntimeIid iid;
    iid.data1 = (std::uint32_t{digest[0]} << 24) | (std::uint32_t{digest[1]} << 16) |
                (std::uint32_t{digest[2]} << 8) | std::uint32_t{digest[3]};
    iid.data2 = static_cast<std::uint16_t>((digest[4] << 8) | digest[5]);
    // Version 5 in the top four bits of data3, the RFC 4122 variant in the top two of data4[0].
    iid.data3 = static_cast<std::uint16_t>((((digest[6] & 0x0F) | 0x50) << 8) | digest[7]);
    iid.data4[0] = static_cast<std::uint8_t>((digest[8] & 0x3F) | 0x80);
    for (std::size_t i = 1; i < iid.data4.size(); ++i) {
        iid.data4[i] = digest[8 + i];
    }
    return iid;
}

}  // namespace glyphsnap
