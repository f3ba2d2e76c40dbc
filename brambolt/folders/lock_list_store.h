// The program's lock list and its file "TARNLOCKLIST.INI" in the user's data folder. The path is
// formed afresh on every call. The caller brackets each call with the driver's data-folder access
// (SetDataFolderAccess 1 before, 0 after) where the driver answers.
#pragma once

#include "brambolt/folders/lock_list.h"
#include "brambolt/folders/lock_list_environment.h"
#include "brambolt/folders/lock_list_file.h"

namespace brambolt {

// File to TheLockList(). A file that does not open leaves the list as it was.
void LoadLockList();
void LoadLockList(const LockListEnvironment& environment, LockList& list);

// TheLockList() as it stands now, to the file; an empty list deletes the file.
void SaveLockList();

// A snapshot that the user-interface thread took right after its edit (TheLockList().Snapshot()),
// to the file, for CommitLockListThread: the list may change again while the thread runs, and
// successive commits reach the file in the order of their edits (an older snapshot arriving after a
// newer one is dropped).
SaveOutcome SaveLockList(const LockListSnapshot& snapshot);
SaveOutcome SaveLockList(const LockListEnvironment& environment, OrderedLockListSaver& saver,
                         const LockListSnapshot& snapshot);

}  // namespace brambolt
