#include <gtest/gtest.h>

#include <chrono>
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
    std::thread last(commit, third);
    std::thread middle(commit, second);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // both wait for the first
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
