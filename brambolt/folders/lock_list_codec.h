// The bytes of the lock list file "TARNLOCKLIST.INI", which the filter driver reads as well: the
// UTF-16LE mark FF FE, then every entry's code units followed by CR LF, with no terminator
// anywhere.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace brambolt {

using LockListEntries = std::vector<std::u16string>;

// The whole file for these entries. Entries of length zero are left out, line end included. For an
// empty list the result holds only the mark; the file operations delete the file instead.
[[nodiscard]] std::vector<std::uint8_t> EncodeLockList(const LockListEntries& entries);

// The entries of a whole file. A file without the mark, shorter than two bytes or holding only the
// mark gives no entries; a final odd byte is ignored. Lines end at CR or LF (runs of them and blank
// lines vanish); a NUL also ends a line, and a NUL at the start of a line ends the reading. Each
// line is trimmed of Windows white space, and lines left empty are dropped.
[[nodiscard]] LockListEntries DecodeLockList(std::span<const std::uint8_t> file);

// True when DecodeLockList takes in everything the file holds: an empty file, or the mark and an
// even number of bytes without a NUL unit. Any other file holds something the reader drops (text in
// another encoding, lines after a NUL, an odd last byte), so the program must not replace it.
[[nodiscard]] bool DecodesWhole(std::span<const std::uint8_t> file) noexcept;

}  // namespace brambolt
