// The credential record: 268 bytes sealed for the current user in "TARNLOCKLIST.DAT". Earlier
// installations wrote the same bytes, so the layout is fixed: no header, no version, UTF-16 text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace brambolt {

inline constexpr std::size_t kCredentialTextUnits = 65;  // 64 units and a terminating zero

struct CredentialRecord {
    std::uint8_t reserved[8];                     // zero on every save, ignored on reading
    char16_t passwordHash[kCredentialTextUnits];  // 64 upper-case hex digits, or empty: no password
    char16_t openid[kCredentialTextUnits];        // the bound WeChat identity, or empty
};

static_assert(sizeof(CredentialRecord) == 268);
static_assert(offsetof(CredentialRecord, reserved) == 0);
static_assert(offsetof(CredentialRecord, passwordHash) == 8);
static_assert(offsetof(CredentialRecord, openid) == 138);
static_assert(alignof(CredentialRecord) <= 2, "the record is copied to and from unaligned bytes");

// A text field up to its terminating zero (all 65 units when a loaded file holds none).
[[nodiscard]] std::u16string_view FieldText(const char16_t (&field)[kCredentialTextUnits]) noexcept;

// Stores at most 64 units and a terminating zero; the units after it become zero. False when the
// text was longer and had to be cut.
bool SetFieldText(char16_t (&field)[kCredentialTextUnits], std::u16string_view text) noexcept;

// A password counts as set when the loaded record's hash holds at least two characters.
[[nodiscard]] bool HasPassword(const CredentialRecord& record, bool loaded) noexcept;

}  // namespace brambolt
