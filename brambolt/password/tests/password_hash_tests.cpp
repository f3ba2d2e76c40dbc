#include <gtest/gtest.h>

#include <cwctype>
#include <string>

#include "brambolt/password/password_hash.h"

namespace brambolt {
namespace {

TEST(PasswordHash, MatchesTheStandardSha256Digests) {
    struct Case {
        const wchar_t* password;
        const wchar_t* hash;
    };
    const Case cases[] = {
        {L"", L"E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855"},
        {L"abc", L"BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"},
        {L"583064", L"828E07A53E6268332EACF97B0FD6FF1A8378849E0CBA3792FE29BDB57B7C72D1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HashPassword(c.password), c.hash) << "password \"" << c.password << "\"";
    }
}

TEST(PasswordHash, IsSixtyFourUpperCaseHexDigitsAndTheSameEveryTime) {
    const std::wstring password = L" !~Pass word 0123456789{}|";
    const std::wstring hash = HashPassword(password);
    ASSERT_EQ(hash.size(), 64U);
    for (wchar_t digit : hash) {
        EXPECT_TRUE((digit >= L'0' && digit <= L'9') || (digit >= L'A' && digit <= L'F'));
    }
    EXPECT_EQ(HashPassword(password), hash);
    EXPECT_NE(HashPassword(L"abd"), HashPassword(L"abc"));
}

}  // namespace
}  // namespace brambolt
