// The stand-in driver's own reader of the lock list file. It is strict where the program's
// writer has no choice: the mark FF FE, whole UTF-16 code units, every entry non-empty, free of
// NUL, CR and LF, and ended by CR LF. Anything else is a malformed file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brambolt::testbench {

std::optional<std::vector<std::u16string>> ParseLockListFile(std::span<const std::uint8_t> bytes);

}  // namespace brambolt::testbench
