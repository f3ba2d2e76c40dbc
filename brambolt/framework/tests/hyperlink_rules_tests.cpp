#include <gtest/gtest.h>

#include "brambolt/framework/hyperlink_rules.h"

namespace brambolt {
namespace {

TEST(LinkAddress, PrefixIsPutInFrontOnce) {
    EXPECT_EQ(LinkAddress(u"https://", u"www.example.com/?frombrambolt"),
              u"https://www.example.com/?frombrambolt");
    EXPECT_EQ(LinkAddress(u"https://", u"HTTPS://www.example.com/"), u"HTTPS://www.example.com/");
    EXPECT_EQ(LinkAddress(u"https://", u"http"), u"https://http");
    EXPECT_EQ(LinkAddress(u"", u"x"), u"x");
}

TEST(LinkMarkup, WholeTextBecomesOneLink) {
    EXPECT_EQ(LinkMarkup(u"\u67e5\u770b\u66f4\u65b0", u"https://www.example.com/?frombrambolt"),
              u"<a href=\"https://www.example.com/?frombrambolt\">\u67e5\u770b\u66f4\u65b0</a>");
    EXPECT_EQ(LinkMarkup(u"x", u"a\"b"), u"<a href=\"a%22b\">x</a>");
}

}  // namespace
}  // namespace brambolt
