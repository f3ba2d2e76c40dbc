// Leaving the main window waits for every commit already started, whatever order their threads
// run in.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "brambolt/folders/commit_order.h"

namespace brambolt {
namespace {

TEST(CommitOrder, WaitForAllIssuedReturnsOnceEveryEarlierTicketHasFinished) {
    CommitOrder order;
    const std::uint64_t first = order.Issue();
    const std::uint64_t second = order.Issue();
    std::atomic<int> finished = 0;
    const auto commit = [&](std::uint64_t ticket) {
        const CommitOrder::Turn turn(order, ticket);
        std::this_thread::yield();
        ++finished;
    };
    std::thread late(commit, second);
    std::thread early(commit, first);
    order.WaitForAllIssued();
    EXPECT_EQ(finished.load(), 2);
    late.join();
    early.join();
}

}  // namespace
}  // namespace brambolt
