#include "brambolt/folders/commit_thread.h"

#include <memory>
#include <mutex>

#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/data_folder_access.h"
#include "brambolt/folders/commit_order.h"
#include "brambolt/folders/lock_list_store.h"
#include "brambolt/folders/shell_port.h"

namespace brambolt {
namespace {

struct CommitWork {
    std::uint64_t ticket = 0;
    LockListSnapshot snapshot;
    HWND mainWindow = nullptr;  // borrowed: the dialog outlives its commits (it waits for them)
};

CommitOrder& ProgramCommitOrder() {
    static CommitOrder order;
    return order;
}

// What the file holds, as far as the program's own saves know, and whether a failure is waiting
// for the window.
class SavedList {
  public:
    void Saved(const LockListEntries& entries) {
        const std::scoped_lock lock(mutex_);
        entries_ = entries;
    }
    void Failed() {
        const std::scoped_lock lock(mutex_);
        failureUnreported_ = true;
    }
    std::optional<LockListEntries> TakeFailure() {
        const std::scoped_lock lock(mutex_);
        if (!failureUnreported_) {
            return std::nullopt;
        }
        failureUnreported_ = false;
        return entries_;
    }

  private:
    std::mutex mutex_;
    LockListEntries entries_;
    bool failureUnreported_ = false;
};

SavedList& ProgramSavedList() {
    static SavedList saved;
    return saved;
}

}  // namespace

void RecordSavedLockList(const LockListEntries& entries) {
    ProgramSavedList().Saved(entries);
}

void StartCommitLockListThread(const LockList& list, HWND mainWindow) {
    auto work = std::make_unique<CommitWork>(
        CommitWork{ProgramCommitOrder().Issue(), list.Snapshot(), mainWindow});
    const std::uint64_t ticket = work->ticket;
    const UniqueHandle thread(
        ::CreateThread(nullptr, 0, &CommitLockListThread, work.get(), 0, nullptr));
    if (thread) {
        work.release();  // the thread owns it now
    } else {
        // Nothing will commit this edit: the window must not show it as saved.
        ProgramSavedList().Failed();
        ProgramCommitOrder().Finish(ticket);
        ::PostMessageW(mainWindow, WM_LOCK_LIST_COMMIT_FAILED, 0, 0);
    }
}

void WaitForPendingCommits() {
    ProgramCommitOrder().WaitForAllIssued();
}

std::optional<LockListEntries> TakeFailedCommitReport() {
    return ProgramSavedList().TakeFailure();
}

DWORD WINAPI CommitLockListThread(LPVOID parameter) {
    const std::unique_ptr<CommitWork> work(static_cast<CommitWork*>(parameter));
    SaveOutcome saved = SaveOutcome::kFailed;
    {
        const CommitOrder::Turn turn(ProgramCommitOrder(), work->ticket);
        const DataFolderAccess access;
        saved = SaveLockList(work->snapshot);
        if (saved == SaveOutcome::kWritten) {
            ProgramSavedList().Saved(work->snapshot.entries);
        } else if (saved == SaveOutcome::kFailed) {
            ProgramSavedList().Failed();
        }
        // Also after a failed save: the driver protects whatever the file still holds.
        SetDriverProtection(1);
    }
    if (saved == SaveOutcome::kFailed) {
        ::PostMessageW(work->mainWindow, WM_LOCK_LIST_COMMIT_FAILED, 0, 0);
    }
    NotifyShellOfChange();
    return 0;
}

}  // namespace brambolt
