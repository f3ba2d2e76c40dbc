// The program's lock list file "TARNLOCKLIST.INI" in the user's data folder. The path is formed
// afresh on every call (forming it creates the data folder). The caller opens the driver's data
// folder around each call (DataFolderAccess) where the driver answers.
#pragma once

#include "brambolt/folders/lock_list.h"
#include "brambolt/folders/lock_list_file.h"

namespace brambolt {

// The file to the list. A file that does not open leaves the list as it was. A file that is there
// but cannot be read whole is marked to be kept aside (TheUnreadableListFile) before any change.
LockListLoad LoadLockList(LockList& list);

// A snapshot that the user-interface thread took right after its edit, to the file: successive
// saves reach the file in the order of their edits (an older snapshot arriving after a newer one is
// dropped). An unreadable file found at the load is moved aside first; while it cannot be, the save
// fails and the file stays. The program saves through one saver of its own; a caller may bring
// another.
SaveOutcome SaveLockList(const LockListSnapshot& snapshot);
SaveOutcome SaveLockList(OrderedLockListSaver& saver, const LockListSnapshot& snapshot);

// Moves an unreadable list file aside before something else deletes the list file (the driver's
// removal), with the driver's data folder opened around the move. False when it is still in place
// and must be left alone; true at once when none was found.
bool KeepUnreadableLockListAside();

}  // namespace brambolt
