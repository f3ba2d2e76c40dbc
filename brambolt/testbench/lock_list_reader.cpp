#include "brambolt/testbench/lock_list_reader.h"

namespace brambolt::testbench {

std::optional<std::vector<std::u16string>> ParseLockListFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE || bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<std::u16string> entries;
    std::u16string entry;
    bool afterCarriageReturn = false;
    for (std::size_t offset = 2; offset < bytes.size(); offset += 2) {
        const auto unit = static_cast<char16_t>(bytes[offset] | (bytes[offset + 1] << 8));
        if (afterCarriageReturn) {
            if (unit != u'\n' || entry.empty()) {
                return std::nullopt;
            }
            entries.push_back(std::move(entry));
            entry.clear();
            afterCarriageReturn = false;
            continue;
        }
        if (unit == u'\r') {
            afterCarriageReturn = true;
        } else if (unit == u'\n' || unit == u'\0') {
            return std::nullopt;
        } else {
            entry.push_back(unit);
        }
    }
    if (afterCarriageReturn || !entry.empty()) {
        return std::nullopt;
    }
    return entries;
}

}  // namespace brambolt::testbench
