// The main window's first load of the lock list, in the order its initialisation needs:
//   driver answering:     SetDataFolderAccess 1, LoadLockList, SetDataFolderAccess 0;
//   driver not answering: LoadLockList alone, and EnsureDriverThread is due when the list is not
//                         empty (the caller starts it on a new thread and does not wait for it).
// The rows come back in list order, for LB_ADDSTRING one after the other.
#pragma once

#include <string>
#include <vector>

#include "brambolt/folders/lock_list.h"
#include "brambolt/folders/lock_list_environment.h"

namespace brambolt {

struct LockListStartup {
    bool startEnsureDriverThread = false;
    std::vector<std::wstring> listBoxRows;
};

// For TheLockList() and the program's driver.
[[nodiscard]] LockListStartup LoadLockListAtStartup();
[[nodiscard]] LockListStartup LoadLockListAtStartup(const LockListEnvironment& environment,
                                                    LockList& list);

}  // namespace brambolt
