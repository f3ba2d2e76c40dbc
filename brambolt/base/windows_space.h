// White space as the Windows C runtime's iswspace classifies a UTF-16 code unit. The lock list
// reader and the set-password dialog trim by this rule in every build, so text trims the same on
// Windows and in the platform-free tests, whatever the host's own wide-character classification
// says.
#pragma once

#include <string_view>

namespace brambolt {

[[nodiscard]] bool IsWindowsSpace(char16_t unit) noexcept;

// The text without its trailing, then its leading white space by that rule. A view into the same
// text.
[[nodiscard]] std::u16string_view TrimWindowsSpace(std::u16string_view text) noexcept;

}  // namespace brambolt
