// Reading a small file whole, opened without sharing so that no writer can change it meanwhile.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brambolt {

// How a whole-file read went. A file that is there but not readable (refused, in use, too large,
// a failed read) is told apart from one that is not there at all: a caller may lose data by
// taking the one for the other.
enum class WholeFileStatus {
    kRead,
    kMissing,     // no such file or folder on the path, or the path names a folder
    kNotOpened,   // there, but the open was refused (in use, access denied, ...)
    kTooLarge,    // larger than the limit
    kReadFailed,  // opened, but a read failed
};

struct WholeFileRead {
    WholeFileStatus status = WholeFileStatus::kMissing;
    std::vector<std::uint8_t> bytes;  // only for kRead
};

[[nodiscard]] WholeFileRead ReadWholeFileWithStatus(const std::wstring& path,
                                                    std::uint64_t largestSize);

// nullopt when the file does not open (missing, refused, in use). Otherwise its bytes, or no bytes
// when it is larger than largestSize or a read fails: a caller treats both as a file without
// content.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path,
                                                                     std::uint64_t largestSize);

}  // namespace brambolt
