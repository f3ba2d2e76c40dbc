// The lock list reader takes whatever bytes the file holds. It must never read out of bounds, and
// whatever it gives back must be a list the writer can store and read back unchanged: entries that
// are not empty, hold no CR, LF or NUL, and carry no white space at either end. The check for a
// file read whole (DecodesWhole) reads the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "brambolt/base/windows_space.h"
#include "brambolt/folders/lock_list_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const brambolt::LockListEntries entries = brambolt::DecodeLockList(std::span(data, size));
    static_cast<void>(brambolt::DecodesWhole(std::span(data, size)));
    for (const std::u16string& entry : entries) {
        if (entry.empty() ||
            entry.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string::npos ||
            brambolt::IsWindowsSpace(entry.front()) || brambolt::IsWindowsSpace(entry.back())) {
            std::abort();
        }
    }
    // What the writer stores is always read back whole, so the program never keeps its own file
    // aside as unreadable.
    const std::vector<std::uint8_t> stored = brambolt::EncodeLockList(entries);
    if (brambolt::DecodeLockList(stored) != entries || !brambolt::DecodesWhole(stored)) {
        std::abort();
    }
    return 0;
}
