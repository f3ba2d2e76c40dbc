// What the WeChat verification reads from the login page's final address, and the address that
// starts an account recovery. Plain UTF-16 text rules that build for every platform.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brambolt {

// The verification window's result codes.
inline constexpr int kVerificationVerified = 1002;
inline constexpr int kVerificationRejected = 1003;
inline constexpr int kVerificationCancelled = 2;

// The login page ends by navigating to an address that begins with "success://", exactly at its
// first character and in this letter case; every other navigation is the page's own.
[[nodiscard]] bool IsVerificationOutcome(std::u16string_view address) noexcept;

// The text after the first "openid=" up to the first "&" after it (or the end), without the "/"
// characters at its end. nullopt when the address has no "openid=".
[[nodiscard]] std::optional<std::u16string> ReportedIdentity(std::u16string_view address);

// 1003 when the address contains "status=unauthorized" anywhere, 1002 otherwise.
[[nodiscard]] int VerificationCode(std::u16string_view address) noexcept;

// The login page on the vendor's server with the bound identity as stored, not encoded: an empty
// identity leaves the address ending with "expected_openid=".
[[nodiscard]] std::u16string RecoveryAddress(std::u16string_view host,
                                             std::u16string_view boundIdentity);

}  // namespace brambolt
