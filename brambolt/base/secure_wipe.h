// Overwrites memory that held a typed password before it goes back to the heap. A plain write
// could be dropped by the optimiser, since nothing reads the buffer again; SecureZeroMemory cannot.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace brambolt {

// Zeroes every unit of the string's buffer, also those past its length that an earlier, longer
// text or a trim left behind, and leaves the string empty.
inline void SecureWipe(std::wstring& text) noexcept {
    text.resize(text.capacity());  // within the buffer: no reallocation
    ::SecureZeroMemory(text.data(), text.size() * sizeof(wchar_t));
    text.clear();
}

inline void SecureWipe(std::vector<char>& bytes) noexcept {
    bytes.resize(bytes.capacity());
    ::SecureZeroMemory(bytes.data(), bytes.size());
    bytes.clear();
}

}  // namespace brambolt
