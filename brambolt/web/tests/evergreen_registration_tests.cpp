#include <gtest/gtest.h>

#include "brambolt/web/evergreen_registration.h"

namespace brambolt {
namespace {

TEST(EvergreenRegistration, VersionIsTheLastComponentOfTheRegisteredFolder) {
    const auto client = EvergreenClientAt(
        u"C:\\Program Files (x86)\\Microsoft\\EdgeWebView\\Application\\"
        u"120.0.2210.91\\");
    ASSERT_TRUE(client.has_value());
    EXPECT_EQ(client->version, u"120.0.2210.91");
    EXPECT_EQ(client->clientDll,
              u"C:\\Program Files (x86)\\Microsoft\\EdgeWebView\\Application\\120.0.2210.91\\"
              u"EBWebView\\x64\\EmbeddedBrowserWebView.dll");
}

TEST(EvergreenRegistration, LocationWithoutAVersionFolderIsNoRuntime) {
    EXPECT_FALSE(EvergreenClientAt(u"C:\\Microsoft\\EdgeWebView\\Application").has_value());
    EXPECT_FALSE(EvergreenClientAt(u"C:\\EdgeWebView\\120.0.2210").has_value());
    EXPECT_FALSE(EvergreenClientAt(u"C:\\EdgeWebView\\120.0.2210.91.5").has_value());
    EXPECT_FALSE(EvergreenClientAt(u"C:\\EdgeWebView\\120..2210.91").has_value());
    EXPECT_FALSE(EvergreenClientAt(u"120.0.2210.91").has_value());
    EXPECT_FALSE(EvergreenClientAt(u"").has_value());
}

}  // namespace
}  // namespace brambolt
