#include <gtest/gtest.h>

#include "brambolt/driver/altitude_rule.h"

namespace brambolt {
namespace {

TEST(FilterInstanceNaming, FollowsTheSidTail) {
    struct Row {
        std::optional<std::u16string> sid;
        std::u16string altitude;
        std::u16string instanceName;
    };
    const Row rows[] = {
        {u"S-1-5-21-3623811015-3361044348-30300820-1001", u"80580.1001", u"Brambolt Instance1001"},
        {u"S-1-5-21-3623811015-3361044348-30300820-500", u"80580.", u"Brambolt Instance"},
        {std::nullopt, u"80580.5", u"Brambolt Instance_NOSID"},
    };
    for (const Row& row : rows) {
        const FilterInstanceNaming naming = NameFilterInstance(row.sid);
        EXPECT_EQ(naming.altitude, row.altitude);
        EXPECT_EQ(naming.instanceName, row.instanceName);
    }
}

TEST(FilterInstanceNaming, TailOfShortAndDashedSids) {
    EXPECT_EQ(SidTail(u"S-1-5-21-0-0-0-1000"), u"1000");
    EXPECT_EQ(SidTail(u"S-1-5-18"), u"5");  // "5-18": cut at its first dash
    EXPECT_EQ(SidTail(u"12-4"), u"12");     // four characters, taken whole, then cut
    EXPECT_EQ(SidTail(u"AB"), u"AB");       // shorter than four: all of it
    EXPECT_EQ(SidTail(u"X-1-5-21-99999"), u"9999");
    EXPECT_EQ(SidTail(u""), u"");
}

}  // namespace
}  // namespace brambolt
