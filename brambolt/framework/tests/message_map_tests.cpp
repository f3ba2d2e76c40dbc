#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "brambolt/framework/message_map.h"

namespace brambolt {
namespace {

constexpr std::uint32_t kPaint = 0x000F;
constexpr std::uint32_t kClicked = 0;                                 // BN_CLICKED
constexpr std::uint32_t kDoubleClick = 2;                             // LBN_DBLCLK
constexpr std::uint32_t kLinkClick = static_cast<std::uint32_t>(-2);  // NM_CLICK

std::uintptr_t CommandWParam(std::uint32_t notification, int id) {
    return (static_cast<std::uintptr_t>(notification) << 16) | static_cast<std::uint16_t>(id);
}

class Recorder {
  public:
    std::intptr_t Paint(std::uintptr_t wParam, std::intptr_t lParam) {
        calls.push_back("paint " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 42;
    }
    void Add() { calls.push_back("add"); }
    void AddAgain() { calls.push_back("add again"); }
    void Open() { calls.push_back("open"); }
    void Link() { calls.push_back("link"); }
    void Static() { calls.push_back("static"); }

    std::vector<std::string> calls;
};

constexpr MessageMapEntry<Recorder> kMap[] = {
    OnMessage<Recorder>(kPaint, &Recorder::Paint),
    OnCommand<Recorder>(kClicked, 1001, &Recorder::Add),
    OnCommand<Recorder>(kClicked, 1001, &Recorder::AddAgain),
    OnCommand<Recorder>(kDoubleClick, 1000, &Recorder::Open),
    OnNotify<Recorder>(kLinkClick, 1010, &Recorder::Link),
    OnCommand<Recorder>(kClicked, -1, &Recorder::Static),
};

bool Feed(Recorder& recorder, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
          std::intptr_t& result) {
    return ProcessMessageMap<Recorder>(recorder, kMap, message, wParam, lParam, result);
}

TEST(MessageMap, WindowMessageReachesItsHandlerWithParametersAndResult) {
    Recorder recorder;
    std::intptr_t result = 0;
    ASSERT_TRUE(Feed(recorder, kPaint, 7, -3, result));
    EXPECT_EQ(result, 42);
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"paint 7 -3"}));
}

TEST(MessageMap, CommandMatchesNotificationAndControlIdAndOnlyTheFirstEntryRuns) {
    Recorder recorder;
    std::intptr_t result = 99;
    ASSERT_TRUE(Feed(recorder, kCommandMessage, CommandWParam(kClicked, 1001), 0, result));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"add"}));
}

TEST(MessageMap, CommandWithOtherNotificationOrOtherIdIsNotHandled) {
    Recorder recorder;
    std::intptr_t result = 0;
    EXPECT_FALSE(Feed(recorder, kCommandMessage, CommandWParam(kDoubleClick, 1001), 0, result));
    EXPECT_FALSE(Feed(recorder, kCommandMessage, CommandWParam(kClicked, 1002), 0, result));
    EXPECT_FALSE(Feed(recorder, 0x0110 /* WM_INITDIALOG */, 0, 0, result));
    EXPECT_TRUE(recorder.calls.empty());
}

TEST(MessageMap, ListBoxDoubleClickAndUnnamedStaticAreMatchedBySixteenBitId) {
    Recorder recorder;
    std::intptr_t result = 0;
    EXPECT_TRUE(Feed(recorder, kCommandMessage, CommandWParam(kDoubleClick, 1000), 0, result));
    EXPECT_TRUE(Feed(recorder, kCommandMessage, CommandWParam(kClicked, 0xFFFF), 0, result));
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"open", "static"}));
}

TEST(MessageMap, NotificationMatchesCodeAndSenderId) {
    Recorder recorder;
    std::intptr_t result = 0;
    NotifyHeader click{nullptr, 1010, kLinkClick};
    NotifyHeader otherSender{nullptr, 1011, kLinkClick};
    NotifyHeader otherCode{nullptr, 1010, static_cast<std::uint32_t>(-4)};
    EXPECT_TRUE(
        Feed(recorder, kNotifyMessage, 1010, reinterpret_cast<std::intptr_t>(&click), result));
    EXPECT_FALSE(Feed(recorder, kNotifyMessage, 1011, reinterpret_cast<std::intptr_t>(&otherSender),
                      result));
    EXPECT_FALSE(
        Feed(recorder, kNotifyMessage, 1010, reinterpret_cast<std::intptr_t>(&otherCode), result));
    EXPECT_FALSE(Feed(recorder, kNotifyMessage, 1010, 0, result));
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"link"}));
}

}  // namespace
}  // namespace brambolt
