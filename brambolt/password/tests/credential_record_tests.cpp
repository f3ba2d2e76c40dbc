#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "brambolt/password/credential_record.h"

namespace brambolt {
namespace {

TEST(CredentialRecordLayout, TextIsStoredAsUtf16LittleEndianUnits) {
    CredentialRecord record{};
    SetFieldText(record.passwordHash, u"AB");
    SetFieldText(record.openid, u"o\u00E9");
    unsigned char bytes[sizeof record];
    std::memcpy(bytes, &record, sizeof record);
    EXPECT_EQ(bytes[8], 'A');
    EXPECT_EQ(bytes[9], 0);
    EXPECT_EQ(bytes[10], 'B');
    EXPECT_EQ(bytes[12], 0);  // terminator
    EXPECT_EQ(bytes[138], 'o');
    EXPECT_EQ(bytes[140], 0xE9);
    EXPECT_EQ(bytes[141], 0);
}

TEST(CredentialRecordFields, TextEndsAtItsZeroAndSettingClearsTheRest) {
    CredentialRecord record{};
    std::fill(std::begin(record.openid), std::end(record.openid), u'x');
    EXPECT_EQ(FieldText(record.openid).size(), kCredentialTextUnits);  // no zero: all 65 units

    EXPECT_TRUE(SetFieldText(record.openid, u"abc"));
    EXPECT_EQ(FieldText(record.openid), u"abc");
    for (std::size_t i = 3; i < kCredentialTextUnits; ++i) {
        EXPECT_EQ(record.openid[i], u'\0') << i;
    }
}

TEST(CredentialRecordFields, TextLongerThanSixtyFourUnitsIsCut) {
    CredentialRecord record{};
    const std::u16string longText(70, u'7');
    EXPECT_FALSE(SetFieldText(record.passwordHash, longText));
    EXPECT_EQ(FieldText(record.passwordHash), std::u16string(64, u'7'));
    EXPECT_EQ(record.passwordHash[64], u'\0');
    EXPECT_TRUE(SetFieldText(record.passwordHash, std::u16string(64, u'F')));
}

TEST(CredentialRecordFields, APasswordNeedsALoadedRecordAndTwoCharacters) {
    CredentialRecord record{};
    EXPECT_FALSE(HasPassword(record, true));
    SetFieldText(record.passwordHash, u"A");
    EXPECT_FALSE(HasPassword(record, true));
    SetFieldText(record.passwordHash, u"AB");
    EXPECT_TRUE(HasPassword(record, true));
    EXPECT_FALSE(HasPassword(record, false));
}

}  // namespace
}  // namespace brambolt
