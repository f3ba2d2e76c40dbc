#include "brambolt/folders/commit_order.h"

namespace brambolt {

std::uint64_t CommitOrder::Issue() {
    const std::scoped_lock lock(mutex_);
    return nextTicket_++;
}

void CommitOrder::WaitForTurn(std::uint64_t ticket) {
    std::unique_lock lock(mutex_);
    turnChanged_.wait(lock, [&] { return current_ == ticket; });
}

void CommitOrder::WaitForAllIssued() {
    std::unique_lock lock(mutex_);
    const std::uint64_t issued = nextTicket_;
    turnChanged_.wait(lock, [&] { return current_ >= issued; });
}

void CommitOrder::Finish(std::uint64_t ticket) {
    {
        const std::scoped_lock lock(mutex_);
        finishedEarly_.insert(ticket);
        while (finishedEarly_.erase(current_) != 0) {
            ++current_;
        }
    }
    turnChanged_.notify_all();
}

}  // namespace brambolt
