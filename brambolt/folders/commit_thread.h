// The commit of one lock list edit, on a thread of its own: the list as it stood right after the
// edit is saved to the file and the driver switches protection on, in the order of the edits. A
// commit whose save fails tells the main window, which then shows the list the file really holds.
#pragma once

#include <windows.h>

#include <optional>

#include "brambolt/folders/lock_list.h"

namespace brambolt {

// Posted to the main window by a commit whose save failed (wParam and lParam 0).
inline constexpr UINT WM_LOCK_LIST_COMMIT_FAILED = WM_APP + 21;

// The entries the file holds when the main window has loaded it; later saves keep it up to date.
void RecordSavedLockList(const LockListEntries& entries);

// Called on the user-interface thread right after an edit: takes the list's snapshot and the
// edit's place in the commit order, and starts CommitLockListThread without waiting for it. A
// failed save is posted to mainWindow.
void StartCommitLockListThread(const LockList& list, HWND mainWindow);

// Blocks until every commit started so far has finished, in their order. Everything that switches
// protection or removes the driver waits here first, so that no commit runs behind it.
void WaitForPendingCommits();

// After WaitForPendingCommits: the entries the file really holds when a failed save has not been
// reported yet (the report is taken by this call), nullopt otherwise.
[[nodiscard]] std::optional<LockListEntries> TakeFailedCommitReport();

// The thread procedure; its parameter is the work StartCommitLockListThread handed over (the
// thread owns it). Waits for the commits of earlier edits, then: SetDataFolderAccess 1,
// SaveLockList, SetDriverProtection 1, SetDataFolderAccess 0, and the shell's association notice
// so that open Explorer windows redraw. Returns 0.
DWORD WINAPI CommitLockListThread(LPVOID work);

}  // namespace brambolt
