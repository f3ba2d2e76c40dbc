// Whether a folder that an Explorer window shows is a listed folder or lies below one: the watch
// over an opened folder keeps protection off exactly while this holds for some window.
#pragma once

#include <string_view>

#include "brambolt/folders/lock_list_codec.h"

namespace brambolt {

// shownPath is the window's file-system path with its ASCII letters in upper case. It shows entry
// when both are equal in any ASCII case, or when it contains entry followed by a backslash,
// compared unit by unit (entries added through the main window are upper case already, so this
// catches every folder below them).
[[nodiscard]] bool ShowsListedFolder(std::u16string_view shownPath,
                                     std::u16string_view entry) noexcept;

[[nodiscard]] bool ShowsAnyListedFolder(std::u16string_view shownPath,
                                        const LockListEntries& entries) noexcept;

}  // namespace brambolt
