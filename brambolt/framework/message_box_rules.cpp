#include "brambolt/framework/message_box_rules.h"

namespace brambolt {

namespace {
// The values of winuser.h, spelled here so that this file needs no Windows header.
constexpr std::uint32_t kTypeMask = 0x0000000F;
constexpr std::uint32_t kIconMask = 0x000000F0;
constexpr std::uint32_t kOk = 0x0;
constexpr std::uint32_t kOkCancel = 0x1;
constexpr std::uint32_t kYesNoCancel = 0x3;
constexpr std::uint32_t kYesNo = 0x4;
constexpr std::uint32_t kIconQuestion = 0x20;
constexpr std::uint32_t kIconWarning = 0x30;
}  // namespace

std::u16string ExecutableBaseName(std::u16string_view modulePath) {
    const auto slash = modulePath.find_last_of(u"\\/");
    std::u16string_view name =
        slash == std::u16string_view::npos ? modulePath : modulePath.substr(slash + 1);
    const auto dot = name.find_last_of(u'.');
    if (dot != std::u16string_view::npos && dot != 0) {
        name = name.substr(0, dot);
    }
    return std::u16string(name);
}

std::uint32_t AppMessageBoxType(std::uint32_t type) {
    if ((type & kIconMask) != 0) {
        return type;
    }
    switch (type & kTypeMask) {
        case kOk:
        case kOkCancel:
            return type | kIconWarning;
        case kYesNo:
        case kYesNoCancel:
            return type | kIconQuestion;
        default:
            return type;
    }
}

}  // namespace brambolt
