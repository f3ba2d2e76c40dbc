// The control channel: the exact requests it makes through the driver port.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/data_folder_access.h"
#include "brambolt/driver/tests/recording_port.h"
#include "brambolt/driver/user_names.h"

namespace brambolt {
namespace {

using Requests = std::vector<std::string>;

class ChannelRequests : public ::testing::Test {
  protected:
    testing::RecordingPort port_;
    testing::ScopedDriverPort installed_{port_};
};

TEST_F(ChannelRequests, PingOpensThisUsersDeviceSendsThePingWithoutInputAndCloses) {
    ASSERT_TRUE(PingDriver());
    const auto calls = port_.Calls();
    ASSERT_EQ(port_.Requests(), (Requests{"open", "ping", "close"}));
    EXPECT_EQ(calls[0].subject, GetDriverDevicePath());
    EXPECT_TRUE(calls[1].inputWasNull);
    EXPECT_EQ(calls[1].device, port_.device);
    EXPECT_EQ(calls[2].device, port_.device);
}

TEST_F(ChannelRequests, ValuesTravelAsFourLittleEndianBytes) {
    struct Case {
        bool (*request)(std::int32_t);
        std::int32_t value;
        std::string word;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {&SetDriverProtection, 1, "protection 1", {1, 0, 0, 0}},
        {&SetDriverProtection, 0, "protection 0", {0, 0, 0, 0}},
        {&SetDataFolderAccess, 1, "data access 1", {1, 0, 0, 0}},
        {&SetDataFolderAccess, -2, "data access -2", {0xFE, 0xFF, 0xFF, 0xFF}},
        {&SetDriverProtection, 0x01020304, "protection 16909060", {4, 3, 2, 1}},
    };
    for (const auto& c : cases) {
        port_.Clear();
        ASSERT_TRUE(c.request(c.value));
        const auto calls = port_.Calls();
        ASSERT_EQ(calls.size(), 3U);
        EXPECT_EQ(calls[1].request, c.word);
        EXPECT_EQ(calls[1].input, c.bytes) << c.value;
    }
}

TEST_F(ChannelRequests, FailedRequestStillClosesTheDevice) {
    port_.answers = false;
    EXPECT_FALSE(SetDriverProtection(1));
    EXPECT_EQ(port_.Requests(), (Requests{"open", "protection 1", "close"}));
}

TEST_F(ChannelRequests, DeviceThatDoesNotOpenFailsWithoutRequestOrClose) {
    port_.opens = false;
    EXPECT_FALSE(PingDriver());
    EXPECT_FALSE(SetDataFolderAccess(0));
    EXPECT_EQ(port_.Requests(), (Requests{"open refused", "open refused"}));
}

TEST_F(ChannelRequests, DataFolderAccessClosesTheFolderOnEveryWayOut) {
    const auto work = [](bool fail) {
        const DataFolderAccess access;
        if (fail) {
            throw std::runtime_error("file work failed");
        }
    };
    work(false);
    EXPECT_THROW(work(true), std::runtime_error);
    EXPECT_EQ(port_.Requests(),
              (Requests{"open", "data access 1", "close", "open", "data access 0", "close", "open",
                        "data access 1", "close", "open", "data access 0", "close"}));
}

}  // namespace
}  // namespace brambolt
