// The order in which the commits of lock list edits reach the file and the driver. Each edit takes
// a ticket on the user-interface thread; its commit thread waits for its turn, so two quick edits
// whose threads overlap still save and switch protection in the order the user made them.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>

namespace brambolt {

class CommitOrder {
  public:
    // The next ticket, in edit order.
    std::uint64_t Issue();
    // Blocks until every earlier ticket is finished.
    void WaitForTurn(std::uint64_t ticket);
    // The ticket's commit is over, or will never run (its thread could not start).
    void Finish(std::uint64_t ticket);
    // Blocks until every ticket issued before this call is finished.
    void WaitForAllIssued();

    // Finishes the ticket on every way out of a commit.
    class Turn {
      public:
        Turn(CommitOrder& order, std::uint64_t ticket) : order_(order), ticket_(ticket) {
            order_.WaitForTurn(ticket_);
        }
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;
        ~Turn() { order_.Finish(ticket_); }

      private:
        CommitOrder& order_;
        std::uint64_t ticket_;
    };

  private:
    std::mutex mutex_;
    std::condition_variable turnChanged_;
    std::uint64_t nextTicket_ = 0;
    std::uint64_t current_ = 0;              // the oldest ticket not finished
    std::set<std::uint64_t> finishedEarly_;  // finished while an older one still ran
};

}  // namespace brambolt
