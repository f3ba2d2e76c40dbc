#include <gtest/gtest.h>

#include <string>

#include "brambolt/web/notice_page.h"

namespace brambolt {
namespace {

TEST(NoticePage, RemoteAddressIsTheNoticePathOnTheVendorServer) {
    EXPECT_EQ(NoticePageAddress(u"www.example.com"), u"https://www.example.com/keldanew.html");
}

TEST(NoticePage, FallbackIsTheFixedPageOfFourHundredTwoCharacters) {
    const std::u16string_view page = OfflineFallbackPage();
    EXPECT_EQ(page.size(), 402U);
    EXPECT_TRUE(page.starts_with(u"<html lang='zh-CN'><head><meta charset='UTF-8'><style>"));
    EXPECT_TRUE(page.ends_with(
        u"</style></head><body><div class='box'> 请仔细阅读以上注意事项</div></body></html>"));
    EXPECT_NE(page.find(u"background-color: #f5f5f5;"), std::u16string_view::npos);
    EXPECT_NE(page.find(u".box { font-size: 13px;background-color: #ffffff;"),
              std::u16string_view::npos);
}

struct Completion {
    bool succeeded;
    std::u16string_view source;
    bool shows;
    bool flagAfter;
};

// One panel's completions in order, starting with the flag clear.
void ExpectSequence(std::initializer_list<Completion> completions) {
    bool flag = false;
    int step = 0;
    for (const Completion& c : completions) {
        EXPECT_EQ(ShouldShowOfflineFallback(c.succeeded, c.source, flag), c.shows) << step;
        EXPECT_EQ(flag, c.flagAfter) << step;
        ++step;
    }
}

TEST(OfflineFallback, FailedNoticePageShowsTheFallbackOnce) {
    ExpectSequence({{false, u"https://www.example.com/keldanew.html", true, true},
                    {true, u"about:blank", false, false}});
}

TEST(OfflineFallback, FailureOfALocalOfflineSourceChangesNothingVisible) {
    ExpectSequence({{false, u"https://local-offline.example.com/", false, false}});
    ExpectSequence({{false, u"https://a/keldanew.html", true, true},
                    {false, u"x-local-offline", false, false}});
    ExpectSequence({{false, u"https://LOCAL-OFFLINE/", true, true}});
}

TEST(OfflineFallback, FailingFallbackClearsTheFlagAndTheNextFailureShowsItAgain) {
    ExpectSequence({{false, u"https://www.example.com/keldanew.html", true, true},
                    {false, u"about:blank", false, false},
                    {false, u"https://www.example.com/next.html", true, true}});
}

TEST(OfflineFallback, SuccessClearsTheFlag) {
    ExpectSequence({{true, u"https://www.example.com/keldanew.html", false, false}});
}

}  // namespace
}  // namespace brambolt
