// ASCII letter case, the only case the folder rules fold: paths from the folder browser are stored
// with a to z in upper case, and every other character stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace brambolt {

[[nodiscard]] std::u16string ToAsciiUpper(std::u16string_view text);
[[nodiscard]] bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) noexcept;

}  // namespace brambolt
