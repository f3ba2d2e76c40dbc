// The protection password's hash: SHA-256 of the password in the thread's ANSI code page, without
// salt, as 64 upper-case hexadecimal digits. Stored hashes from earlier installations compare equal
// character for character, so the conversion and the digits must not change.
#pragma once

#include <string>
#include <string_view>

namespace brambolt {

// The empty string when the system's SHA-256 provider fails.
[[nodiscard]] std::wstring HashPassword(std::wstring_view password);

}  // namespace brambolt
