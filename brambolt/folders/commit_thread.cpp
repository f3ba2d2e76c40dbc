#include "brambolt/folders/commit_thread.h"

#include <memory>

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
};

CommitOrder& ProgramCommitOrder() {
    static CommitOrder order;
    return order;
}

}  // namespace

void StartCommitLockListThread(const LockList& list) {
    auto work =
        std::make_unique<CommitWork>(CommitWork{ProgramCommitOrder().Issue(), list.Snapshot()});
    const std::uint64_t ticket = work->ticket;
    const UniqueHandle thread(
        ::CreateThread(nullptr, 0, &CommitLockListThread, work.get(), 0, nullptr));
    if (thread) {
        work.release();  // the thread owns it now
    } else {
        // Nothing will commit this edit; the next edit's commit carries the list on.
        ProgramCommitOrder().Finish(ticket);
    }
}

DWORD WINAPI CommitLockListThread(LPVOID parameter) {
    const std::unique_ptr<CommitWork> work(static_cast<CommitWork*>(parameter));
    const CommitOrder::Turn turn(ProgramCommitOrder(), work->ticket);
    {
        const DataFolderAccess access;
        SaveLockList(work->snapshot);
        SetDriverProtection(1);
    }
    NotifyShellOfChange();
    return 0;
}

}  // namespace brambolt
