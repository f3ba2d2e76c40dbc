// The host manifest rules of the installer, which must agree with tools/native_host.py.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "host_manifest.h"

namespace {

using setup_helper::SplitAllowed;

struct SplitCase {
    const char* name;
    const char* list;
    std::vector<std::string> origins;
    std::vector<std::string> ids;
    bool refused;
};

// Test listings show the case's name, not its bytes.
void PrintTo(const SplitCase& c, std::ostream* out) {
    *out << c.name;
}

class SplitAllowedTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitAllowedTest, SortsOriginsAndIdsOrRefuses) {
    const SplitCase& c = GetParam();
    const auto result = SplitAllowed(c.list);
    EXPECT_EQ(result.error.has_value(), c.refused);
    if (!c.refused) {
        EXPECT_EQ(result.allowed.chromiumOrigins, c.origins);
        EXPECT_EQ(result.allowed.firefoxIds, c.ids);
    }
}

const std::string kOrigin = "chrome-extension://abcdefghijklmnopabcdefghijklmnop/";

INSTANTIATE_TEST_SUITE_P(
    Lists, SplitAllowedTest,
    ::testing::Values(SplitCase{"OneOfEach",
                                "chrome-extension://abcdefghijklmnopabcdefghijklmnop/,a@b.org",
                                {kOrigin},
                                {"a@b.org"},
                                false},
                      SplitCase{"RepeatsAndEmptyItemsDropped",
                                ",a@b.org,,a@b.org,{12345678-9abc-def0-1234-56789abcdef0},",
                                {},
                                {"a@b.org", "{12345678-9abc-def0-1234-56789abcdef0}"},
                                false},
                      SplitCase{"OriginWithoutFinalSlash",
                                "chrome-extension://abcdefghijklmnopabcdefghijklmnop",
                                {},
                                {},
                                true},
                      SplitCase{"OriginWithLettersAfterP",
                                "chrome-extension://abcdefghijklmnopabcdefghijklmnoq/",
                                {},
                                {},
                                true},
                      SplitCase{"PlainWord", "reader", {}, {}, true}),
    [](const ::testing::TestParamInfo<SplitCase>& testCase) {
        return std::string(testCase.param.name);
    });

TEST(HostName, FollowsChromiumsRule) {
    EXPECT_TRUE(setup_helper::IsValidHostName("vorlin.glyphsnap"));
    EXPECT_TRUE(setup_helper::IsValidHostName("my_host2"));
    EXPECT_FALSE(setup_helper::IsValidHostName("Vorlin.glyphsnap"));
    EXPECT_FALSE(setup_helper::IsValidHostName("vorlin..glyphsnap"));
    EXPECT_FALSE(setup_helper::IsValidHostName(".vorlin"));
    EXPECT_FALSE(setup_helper::IsValidHostName("vorlin-glyphsnap"));
}

TEST(ManifestText, EscapesBackslashesAndKeepsUtf8) {
    EXPECT_EQ(setup_helper::ManifestText("h", "C:\\Programme\\Überall\\Glyphsnap.exe",
                                         "allowed_extensions", {"a@b.org"}),
              "{\n"
              "  \"name\": \"h\",\n"
              "  \"description\": \"Glyphsnap: recognises the text of an image, or opens the "
              "image in a paint program\",\n"
              "  \"path\": \"C:\\\\Programme\\\\Überall\\\\Glyphsnap.exe\",\n"
              "  \"type\": \"stdio\",\n"
              "  \"allowed_extensions\": [\n"
              "    \"a@b.org\"\n"
              "  ]\n"
              "}\n");
}

}  // namespace
