// The start-up prompt compares what the set-password dialog would have stored: the same trimming,
// and never a text that dialog refuses.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "brambolt/password/new_password_rules.h"

namespace brambolt {
namespace {

struct PromptCase {
    const char* name;
    std::u16string typed;
    std::optional<std::u16string> compared;  // nullopt: matches no stored password
};

class TypedAtThePrompt : public ::testing::TestWithParam<PromptCase> {};

TEST_P(TypedAtThePrompt, IsComparedAsTheDialogWouldHaveStoredIt) {
    const std::optional<std::u16string_view> compared = PasswordToCompare(GetParam().typed);
    ASSERT_EQ(compared.has_value(), GetParam().compared.has_value());
    if (compared) {
        EXPECT_EQ(*compared, *GetParam().compared);
    }
}

std::string CaseName(const ::testing::TestParamInfo<PromptCase>& param) {
    return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(PasswordPrompt, TypedAtThePrompt,
                         ::testing::Values(PromptCase{"AsSet", u"abc123", u"abc123"},
                                           PromptCase{"SpacesAround", u"  abc123 ", u"abc123"},
                                           PromptCase{"TabAndIdeographicSpace", u"\tabc123\u3000",
                                                      u"abc123"},
                                           PromptCase{"InnerSpaceKept", u" abc 123 ", u"abc 123"},
                                           PromptCase{"Chinese", u"abc12\u4e2d", std::nullopt},
                                           PromptCase{"NonBmp", u"abc12\U0001F600", std::nullopt},
                                           PromptCase{"TooShort", u"abc12", std::nullopt},
                                           PromptCase{"TooLong", u"abcdefghijklm", std::nullopt},
                                           PromptCase{"SpacesOnly", u"      ", std::nullopt},
                                           PromptCase{"Empty", u"", std::nullopt}),
                         CaseName);

}  // namespace
}  // namespace brambolt
