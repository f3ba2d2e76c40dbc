// The Win32 boundary of the platform-free rules: wchar_t and char16_t are both UTF-16 on Windows.
#pragma once

#include <string>
#include <string_view>

namespace brambolt {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected (Windows only)");

inline std::u16string ToUtf16(std::wstring_view text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

// The same units seen as UTF-16, without a copy (for texts that must not be duplicated).
inline std::u16string_view AsUtf16(std::wstring_view text) noexcept {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

inline std::wstring_view AsWide(std::u16string_view text) noexcept {
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}

inline std::wstring ToWide(std::u16string_view text) {
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}

}  // namespace brambolt
