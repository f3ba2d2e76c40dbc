// Reading a small file whole, opened without sharing so that no writer can change it meanwhile.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brambolt {

// nullopt when the file does not open (missing, refused, in use). Otherwise its bytes, or no bytes
// when it is larger than largestSize or a read fails: a caller treats both as a file without
// content.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path,
                                                                     std::uint64_t largestSize);

}  // namespace brambolt
