#include "brambolt/base/windows_space.h"

namespace brambolt {

bool IsWindowsSpace(char16_t unit) noexcept {
    switch (unit) {
        case u'\t':
        case u'\n':
        case u'\v':
        case u'\f':
        case u'\r':
        case u' ':
        case u'\u00A0':
        case u'\u1680':
        case u'\u2028':
        case u'\u2029':
        case u'\u202F':
        case u'\u205F':
        case u'\u3000':
            return true;
        default:
            // The en quad to hair space block; NEL (U+0085) and the zero-width space are not space.
            return unit >= u'\u2000' && unit <= u'\u200A';
    }
}

std::u16string_view TrimWindowsSpace(std::u16string_view text) noexcept {
    while (!text.empty() && IsWindowsSpace(text.back())) {
        text.remove_suffix(1);
    }
    while (!text.empty() && IsWindowsSpace(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

}  // namespace brambolt
