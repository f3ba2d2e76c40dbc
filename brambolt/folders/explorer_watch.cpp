#include "brambolt/folders/explorer_watch.h"

#include "brambolt/base/text_conversion.h"
#include "brambolt/folders/ascii_case.h"
#include "brambolt/folders/lock_list.h"
#include "brambolt/folders/path_matching.h"
#include "brambolt/folders/shell_port.h"

namespace brambolt {

bool IsLockedFolderShown() {
    const std::optional<ExplorerFolders> folders = CurrentShellPort().ShownFolders();
    if (!folders) {
        return false;
    }
    const LockListEntries& entries = TheLockList().Entries();
    for (const std::optional<std::wstring>& folder : *folders) {
        if (folder && ShowsAnyListedFolder(ToAsciiUpper(ToUtf16(*folder)), entries)) {
            return true;
        }
    }
    return false;
}

}  // namespace brambolt
