#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "brambolt/folders/commit_order.h"

namespace brambolt {
namespace {

using namespace std::chrono_literals;

// What a commit touches, in the order it touched them: the list file, then the driver.
class Witness {
  public:
    void Saw(const std::string& what) {
        const std::scoped_lock lock(mutex_);
        seen_.push_back(what);
        changed_.notify_all();
    }
    // True once `count` events are seen; false when the bound runs out first.
    bool WaitForCount(std::size_t count, std::chrono::milliseconds bound) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, bound, [&] { return seen_.size() >= count; });
    }
    std::vector<std::string> Seen() {
        const std::scoped_lock lock(mutex_);
        return seen_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> seen_;
};

// A gate each commit thread waits at before it asks for its turn, opened by the test.
class Gate {
  public:
    void Open() {
        {
            const std::scoped_lock lock(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }
    void Pass() {
        std::unique_lock lock(mutex_);
        opened_.wait(lock, [&] { return open_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

TEST(CommitOrder, CommitsRunInTicketOrderWhateverOrderTheirThreadsStartIn) {
    CommitOrder order;
    const std::array<std::uint64_t, 3> tickets = {order.Issue(), order.Issue(), order.Issue()};
    Witness witness;
    std::array<Gate, 3> gates;
    std::vector<std::thread> commits;
    for (std::size_t i = 0; i < tickets.size(); ++i) {
        commits.emplace_back([&, i] {
            gates[i].Pass();
            const CommitOrder::Turn turn(order, tickets[i]);
            witness.Saw("file " + std::to_string(i));
            witness.Saw("driver " + std::to_string(i));
        });
    }

    // The last edit's commit is released first, then the middle one: neither may touch anything
    // while the first is held. A wrong order shows within the wait; a right one waits it out.
    gates[2].Open();
    EXPECT_FALSE(witness.WaitForCount(1, 200ms)) << "the last commit ran before the first";
    gates[1].Open();
    EXPECT_FALSE(witness.WaitForCount(1, 200ms)) << "the middle commit ran before the first";
    gates[0].Open();
    for (std::thread& commit : commits) {
        commit.join();
    }
    EXPECT_EQ(witness.Seen(), (std::vector<std::string>{"file 0", "driver 0", "file 1", "driver 1",
                                                        "file 2", "driver 2"}));
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
