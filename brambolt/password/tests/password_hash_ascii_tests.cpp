// The hash takes printable ASCII one byte per character, as every password the set-password dialog
// accepts is; anything else has no hash, whatever the thread's code page would make of it.
#include <gtest/gtest.h>

#include "brambolt/password/password_hash.h"

namespace brambolt {
namespace {

TEST(PasswordHash, KeepsTheHashOfAQuestionMarkAndGivesNoneForACharacterACodePageLacks) {
    EXPECT_EQ(HashPassword(L"abc12?"),
              L"94471B53072965BA581140FE603B7FE1B27664D4F17D8EBF143F7EF70900AD5E");
    EXPECT_EQ(HashPassword(L"abc12\u4e2d"), L"");
    EXPECT_EQ(HashPassword(L"abc12\u00e9"), L"");
    EXPECT_EQ(HashPassword(L"abc12\t"), L"");
}

}  // namespace
}  // namespace brambolt
