#include "brambolt/folders/lock_list_codec.h"

#include <cstddef>
#include <string_view>

#include "brambolt/base/windows_space.h"

namespace brambolt {
namespace {

constexpr std::uint8_t kMarkLow = 0xFF;
constexpr std::uint8_t kMarkHigh = 0xFE;

bool IsLineSeparator(char16_t unit) noexcept {
    return unit == u'\r' || unit == u'\n';
}

void AppendUnit(std::vector<std::uint8_t>& bytes, char16_t unit) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFFU));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8U));
}

}  // namespace

std::vector<std::uint8_t> EncodeLockList(const LockListEntries& entries) {
    std::vector<std::uint8_t> bytes{kMarkLow, kMarkHigh};
    for (const std::u16string& entry : entries) {
        if (entry.empty()) {
            continue;
        }
        for (char16_t unit : entry) {
            AppendUnit(bytes, unit);
        }
        AppendUnit(bytes, u'\r');
        AppendUnit(bytes, u'\n');
    }
    return bytes;
}

LockListEntries DecodeLockList(std::span<const std::uint8_t> file) {
    LockListEntries entries;
    if (file.size() < 2 || file[0] != kMarkLow || file[1] != kMarkHigh) {
        return entries;
    }
    const std::span<const std::uint8_t> body = file.subspan(2);
    std::u16string content(body.size() / 2, u'\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char16_t>(body[2 * i] | (body[2 * i + 1] << 8U));
    }

    // A tokenizer over the separators CR and LF on a NUL-terminated text: separators before a line
    // are skipped, a line stops at a separator or a NUL, and the unit that stopped it is skipped.
    // An empty line (a NUL where a line would begin) ends the reading.
    const std::size_t end = content.size();
    std::size_t position = 0;
    while (position < end) {
        while (position < end && IsLineSeparator(content[position])) {
            ++position;
        }
        if (position >= end) {
            break;
        }
        std::size_t lineEnd = position;
        while (lineEnd < end && content[lineEnd] != u'\0' && !IsLineSeparator(content[lineEnd])) {
            ++lineEnd;
        }
        if (lineEnd == position) {
            break;
        }
        const std::u16string_view line =
            TrimWindowsSpace(std::u16string_view(content).substr(position, lineEnd - position));
        if (!line.empty()) {
            entries.emplace_back(line);
        }
        position = lineEnd + 1;
    }
    return entries;
}

bool DecodesWhole(std::span<const std::uint8_t> file) noexcept {
    if (file.empty()) {
        return true;
    }
    if (file.size() < 2 || file[0] != kMarkLow || file[1] != kMarkHigh || file.size() % 2 != 0) {
        return false;
    }
    for (std::size_t i = 2; i < file.size(); i += 2) {
        if (file[i] == 0 && file[i + 1] == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace brambolt
