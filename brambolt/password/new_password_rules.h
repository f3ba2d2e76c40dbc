// The rules a new protection password must meet before it is hashed and saved, in the order the
// set-password dialog checks and reports them. Platform-free, so both builds test the same rules.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace brambolt {

enum class NewPasswordCheck {
    Accepted,
    Empty,
    NotHalfWidth,  // a unit outside U+0020..U+007E
    BadLength,     // fewer than 6 or more than 12 units
    Mismatch,      // the confirmation differs
};

inline constexpr std::size_t kShortestPassword = 6;
inline constexpr std::size_t kLongestPassword = 12;

// Checks the trimmed password and its trimmed confirmation. The first failing check wins: a
// password that is both full-width and too long is NotHalfWidth, one of 13 units with another
// confirmation BadLength. The confirmation only has to equal the password, case-sensitively.
[[nodiscard]] NewPasswordCheck CheckNewPassword(std::u16string_view password,
                                                std::u16string_view confirmation) noexcept;

// What the start-up prompt compares with the stored hash: the typed text trimmed as the
// set-password dialog trims a new password, or nothing when the dialog would refuse that password
// (empty, a character outside U+0020..U+007E, a length outside 6 to 12): such a text can never
// have been set, so it never matches. A view into typed.
[[nodiscard]] std::optional<std::u16string_view> PasswordToCompare(
    std::u16string_view typed) noexcept;

}  // namespace brambolt
