#include "brambolt/folders/path_matching.h"

#include <algorithm>
#include <string>

#include "brambolt/folders/ascii_case.h"

namespace brambolt {

bool ShowsListedFolder(std::u16string_view shownPath, std::u16string_view entry) noexcept {
    if (EqualIgnoringAsciiCase(shownPath, entry)) {
        return true;
    }
    // A search for the entry and then a backslash after each place it occurs, without building the
    // joined text.
    for (std::size_t at = shownPath.find(entry); at != std::u16string_view::npos;
         at = shownPath.find(entry, at + 1)) {
        const std::size_t after = at + entry.size();
        if (after < shownPath.size() && shownPath[after] == u'\\') {
            return true;
        }
    }
    return false;
}

bool ShowsAnyListedFolder(std::u16string_view shownPath, const LockListEntries& entries) noexcept {
    return std::any_of(entries.begin(), entries.end(), [shownPath](const std::u16string& entry) {
        return ShowsListedFolder(shownPath, entry);
    });
}

}  // namespace brambolt
