#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "brambolt/driver/name_rules.h"

namespace brambolt {
namespace {

constexpr std::u16string_view kSid = u"S-1-5-21-3623811015-3361044348-30300820-1013";

TEST(DriverNames, ServiceAndDeviceNamesCarryTheSidUnchanged) {
    EXPECT_EQ(ServiceNameFor(kSid), u"TARNBRT_S-1-5-21-3623811015-3361044348-30300820-1013");
    EXPECT_EQ(DevicePathFor(kSid), u"\\\\.\\TARNBRT_S-1-5-21-3623811015-3361044348-30300820-1013");
    // No case change and no cut, whatever the SID looks like.
    EXPECT_EQ(ServiceNameFor(u"s-1-5-18"), u"TARNBRT_s-1-5-18");
}

TEST(DriverNames, WithoutSidTheNamesFallBackToNoSid) {
    EXPECT_EQ(ServiceNameFor(std::nullopt), u"TARNBRT_NOSID");
    EXPECT_EQ(DevicePathFor(std::nullopt), u"\\\\.\\TARNBRT_NOSID");
}

TEST(DataFolder, WithSidIsUnderLocalApplicationData) {
    EXPECT_EQ(UserDataFolder(u"C:\\users\\kim\\AppData\\Local", u"S-1-5-21-0-0-0-1000"),
              u"C:\\users\\kim\\AppData\\Local\\TARNBRT_S-1-5-21-0-0-0-1000");
}

TEST(DataFolder, WithoutSidIsUnderTheWindowsDirectory) {
    EXPECT_EQ(NoSidDataFolder(u"C:\\windows"),
              u"C:\\windows\\System32\\Drivers\\DriverData\\Pondglass");
}

TEST(DataFolder, FilesAreNamedInsideTheFolder) {
    const std::u16string folder = u"C:\\users\\kim\\AppData\\Local\\TARNBRT_S-1-5-21-0-0-0-1000";
    const auto lockList = LockListPathIn(folder);
    ASSERT_TRUE(lockList.has_value());
    EXPECT_EQ(*lockList, folder + u"\\TARNLOCKLIST.INI");
    EXPECT_EQ(CredentialRecordPathBeside(*lockList), folder + u"\\TARNLOCKLIST.DAT");
    EXPECT_EQ(CredentialRecordPathBeside(u"no folder"), std::nullopt);
}

TEST(PathBounds, PathsOfUpTo259CharactersFitAnd260DoNot) {
    EXPECT_TRUE(FitsInMaxPath(std::u16string(259, u'a')));
    EXPECT_FALSE(FitsInMaxPath(std::u16string(260, u'a')));
    EXPECT_TRUE(FitsInMaxPath(u""));
}

TEST(PathBounds, LockListPathThatWouldNotFitIsRejected) {
    const std::u16string_view fileName = u"\\TARNLOCKLIST.INI";  // 17 characters
    const std::u16string longest(259 - fileName.size(), u'd');
    ASSERT_TRUE(LockListPathIn(longest).has_value());
    EXPECT_EQ(LockListPathIn(longest)->size(), 259U);
    EXPECT_EQ(LockListPathIn(longest + u"d"), std::nullopt);
}

TEST(PathBounds, DataFoldersThatWouldNotFitAreRejected) {
    const std::u16string sid = u"S-1-5-21-0-0-0-1000";
    const std::size_t fixed = std::u16string_view(u"\\TARNBRT_").size() + sid.size();
    EXPECT_TRUE(UserDataFolder(std::u16string(259 - fixed, u'x'), sid).has_value());
    EXPECT_EQ(UserDataFolder(std::u16string(260 - fixed, u'x'), sid), std::nullopt);
    const std::size_t pond =
        std::u16string_view(u"\\System32\\Drivers\\DriverData\\Pondglass").size();
    EXPECT_TRUE(NoSidDataFolder(std::u16string(259 - pond, u'w')).has_value());
    EXPECT_EQ(NoSidDataFolder(std::u16string(260 - pond, u'w')), std::nullopt);
}

}  // namespace
}  // namespace brambolt
