// The commit of one lock list edit, on a thread of its own: the list as it stood right after the
// edit is saved to the file and the driver switches protection on, in the order of the edits.
#pragma once

#include <windows.h>

#include "brambolt/folders/lock_list.h"

namespace brambolt {

// Called on the user-interface thread right after an edit: takes the list's snapshot and the
// edit's place in the commit order, and starts CommitLockListThread without waiting for it.
void StartCommitLockListThread(const LockList& list);

// The thread procedure; its parameter is the work StartCommitLockListThread handed over (the
// thread owns it). Waits for the commits of earlier edits, then: SetDataFolderAccess 1,
// SaveLockList, SetDriverProtection 1, SetDataFolderAccess 0, and the shell's association notice
// so that open Explorer windows redraw. Results are not used. Returns 0.
DWORD WINAPI CommitLockListThread(LPVOID work);

}  // namespace brambolt
