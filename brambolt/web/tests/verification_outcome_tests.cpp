#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "brambolt/web/verification_outcome.h"

namespace brambolt {
namespace {

struct OutcomeCase {
    const char* name;
    std::u16string_view address;
    bool intercepted;
    int code;
    std::optional<std::u16string> identity;
};

void PrintTo(const OutcomeCase& c, std::ostream* out) {
    *out << c.name;
}

std::string CaseName(const ::testing::TestParamInfo<OutcomeCase>& param) {
    return param.param.name;
}

class FinalAddress : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(FinalAddress, IsReadAsTheLoginPageReportsIt) {
    const OutcomeCase& c = GetParam();
    EXPECT_EQ(IsVerificationOutcome(c.address), c.intercepted);
    EXPECT_EQ(VerificationCode(c.address), c.code);
    EXPECT_EQ(ReportedIdentity(c.address), c.identity);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FinalAddress,
    ::testing::Values(
        OutcomeCase{"IdentityEndsAtTheAmpersand", u"success://cb?openid=o6_bmjrPTlm6&lang=zh&x=1",
                    true, 1002, u"o6_bmjrPTlm6"},
        OutcomeCase{"UnauthorizedBeforeTheIdentityWithTrailingSlashes",
                    u"success://cb?status=unauthorized&openid=oXYZ//", true, 1003, u"oXYZ"},
        OutcomeCase{"NoIdentityKey", u"success://done", true, 1002, std::nullopt},
        OutcomeCase{"ExpectedIdentityKeyComesFirst",
                    u"success://cb?expected_openid=oBOUND&openid=oOTHER", true, 1002, u"oBOUND"},
        OutcomeCase{"SchemeLaterInTheAddress",
                    u"https://login.example.com/?next=success://cb?openid=a", false, 1002, u"a"},
        OutcomeCase{"SchemeInCapitals", u"SUCCESS://cb?openid=a", false, 1002, u"a"},
        OutcomeCase{"EmptyIdentityAtTheEnd", u"success://cb?openid=", true, 1002, u""}),
    CaseName);

TEST(RecoveryAddress, CarriesTheBoundIdentityAsStored) {
    EXPECT_EQ(RecoveryAddress(u"www.example.com", u"o6_a b&c"),
              u"https://www.example.com/brambolt/wx_login_new.php?action=reset&expected_openid="
              u"o6_a b&c");
}

TEST(RecoveryAddress, EndsWithTheEmptyKeyWhenNoIdentityIsBound) {
    EXPECT_EQ(RecoveryAddress(u"www.example.com", u""),
              u"https://www.example.com/brambolt/wx_login_new.php?action=reset&expected_openid=");
}

}  // namespace
}  // namespace brambolt
