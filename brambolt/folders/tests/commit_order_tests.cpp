#include <gtest/gtest.h>

#include <latch>
#include <mutex>
#include <thread>
#include <vector>

#include "brambolt/folders/commit_order.h"

namespace brambolt {
namespace {

TEST(CommitOrder, CommitsRunInTicketOrderWhateverOrderTheirThreadsStartIn) {
    CommitOrder order;
    const std::uint64_t first = order.Issue();
    const std::uint64_t second = order.Issue();
    const std::uint64_t third = order.Issue();
    std::mutex mutex;
    std::vector<std::uint64_t> ran;
    const auto commit = [&](std::uint64_t ticket) {
        const CommitOrder::Turn turn(order, ticket);
        const std::scoped_lock lock(mutex);
        ran.push_back(ticket);
    };
    // The first commits only once both later ones are on their way to their turns.
    std::latch started(2);
    const auto startedCommit = [&](std::uint64_t ticket) {
        started.count_down();
        commit(ticket);
    };
    std::thread last(startedCommit, third);
    std::thread middle(startedCommit, second);
    started.wait();
    commit(first);
    middle.join();
    last.join();
    EXPECT_EQ(ran, (std::vector<std::uint64_t>{first, second, third}));
}

TEST(CommitOrder, ATicketThatNeverRunsDoesNotHoldUpTheNext) {
    CommitOrder order;
    const std::uint64_t lost = order.Issue();
    const std::uint64_t next = order.Issue();
    order.Finish(lost);
    bool ran = false;
    std::thread commit([&] {
        const CommitOrder::Turn turn(order, next);
        ran = true;
    });
    commit.join();  // would hang for ever if the lost ticket held the turn
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace brambolt
