#include "brambolt/password/new_password_rules.h"

#include <algorithm>
#include <cstdint>

#include "brambolt/base/windows_space.h"

namespace brambolt {

namespace {

// Printable ASCII, the space included: the only characters whose ANSI form is the same on every
// code page, so the hash of such a password is the same everywhere.
bool IsHalfWidth(char16_t unit) noexcept {
    return static_cast<std::uint16_t>(unit - u' ') <= 0x5E;
}

}  // namespace

NewPasswordCheck CheckNewPassword(std::u16string_view password,
                                  std::u16string_view confirmation) noexcept {
    if (password.empty()) {
        return NewPasswordCheck::Empty;
    }
    if (!std::all_of(password.begin(), password.end(), IsHalfWidth)) {
        return NewPasswordCheck::NotHalfWidth;
    }
    if (password.size() < kShortestPassword || password.size() > kLongestPassword) {
        return NewPasswordCheck::BadLength;
    }
    if (password != confirmation) {
        return NewPasswordCheck::Mismatch;
    }
    return NewPasswordCheck::Accepted;
}

std::optional<std::u16string_view> PasswordToCompare(std::u16string_view typed) noexcept {
    const std::u16string_view trimmed = TrimWindowsSpace(typed);
    if (CheckNewPassword(trimmed, trimmed) != NewPasswordCheck::Accepted) {
        return std::nullopt;
    }
    return trimmed;
}

}  // namespace brambolt
