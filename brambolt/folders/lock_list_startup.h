// The main window's first load of the lock list, in the order its initialisation needs:
//   driver answering:     SetDataFolderAccess 1, LoadLockList, SetDataFolderAccess 0;
//   driver not answering: LoadLockList alone, and EnsureDriverThread is due when the list is not
//                         empty (the caller starts it on a new thread and does not wait for it).
// The rows come back in list order, for LB_ADDSTRING one after the other.
#pragma once

#include <string>
#include <vector>

#include "brambolt/folders/lock_list.h"

namespace brambolt {

struct LockListStartup {
    bool startEnsureDriverThread = false;
    std::vector<std::wstring> listBoxRows;
};

[[nodiscard]] LockListStartup LoadLockListAtStartup(LockList& list);

}  // namespace brambolt
