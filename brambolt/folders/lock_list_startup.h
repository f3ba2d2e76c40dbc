// The main window's first load of the lock list, in the order its initialisation needs:
//   driver answering:     SetDataFolderAccess 1, LoadLockList, SetDataFolderAccess 0;
//   driver not answering: LoadLockList alone, and EnsureDriverThread is due when the list is not
//                         empty (the caller starts it on a new thread and does not wait for it).
// The rows come back in list order, for LB_ADDSTRING one after the other. A list file that could
// not be read whole is moved aside at once where it can be (else before the first change).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "brambolt/folders/lock_list.h"

namespace brambolt {

struct LockListStartup {
    bool startEnsureDriverThread = false;
    std::vector<std::wstring> listBoxRows;
    bool unreadableFile = false;           // the user is told once
    std::optional<std::wstring> keptPath;  // where it was moved, when it could be at once
};

[[nodiscard]] LockListStartup LoadLockListAtStartup(LockList& list);

}  // namespace brambolt
