// The protection password's hash: SHA-256 of the password's printable ASCII bytes (one byte per
// character, its code), without salt, as 64 upper-case hexadecimal digits. These are the bytes
// that the thread's ANSI code page gave for every password the set-password dialog accepts, so
// stored hashes from earlier installations compare equal character for character; the digits must
// not change.
#pragma once

#include <string>
#include <string_view>

namespace brambolt {

// The empty string when the system's SHA-256 provider fails, and for a password holding any
// character outside U+0020..U+007E: no code page conversion decides what such a password means
// (one would turn 中 into ?), and an empty hash matches no stored one.
[[nodiscard]] std::wstring HashPassword(std::wstring_view password);

}  // namespace brambolt
