// The Add rules judge the folder that the stored entry will name after a restart, not the text the
// folder browser handed over: white space the file's reader trims, dots and spaces Windows drops,
// forward slashes and a trailing backslash must not carry a protected folder past them.
#include <gtest/gtest.h>

#include <string>

#include "brambolt/folders/add_decision.h"
#include "brambolt/folders/ascii_case.h"

namespace brambolt {
namespace {

constexpr std::u16string_view kProgramFolder = u"C:\\Program Files\\Vorlin";

struct NamedFolderCase {
    const char* name;
    std::u16string chosen;
    AddVerdict verdict;
};

class ChosenFolderAsStored : public ::testing::TestWithParam<NamedFolderCase> {};

TEST_P(ChosenFolderAsStored, IsJudgedByTheFolderItNames) {
    EXPECT_EQ(JudgeChosenFolder(ToAsciiUpper(GetParam().chosen), kProgramFolder),
              GetParam().verdict);
}

std::string CaseName(const ::testing::TestParamInfo<NamedFolderCase>& param) {
    return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    AddDecision, ChosenFolderAsStored,
    ::testing::Values(
        NamedFolderCase{"TrailingSpace", u"C:\\Windows ", AddVerdict::kRefuseWindowsFolder},
        NamedFolderCase{"TrailingTab", u"C:\\Windows\t", AddVerdict::kRefuseWindowsFolder},
        NamedFolderCase{"TrailingDot", u"C:\\Windows.", AddVerdict::kRefuseWindowsFolder},
        NamedFolderCase{"DotsAndSpaces", u"C:\\Windows . .", AddVerdict::kRefuseWindowsFolder},
        NamedFolderCase{"ForwardSlash", u"C:/Windows", AddVerdict::kRefuseWindowsFolder},
        NamedFolderCase{"TrailingBackslash", u"C:\\Windows\\", AddVerdict::kRefuseWindowsFolder},
        NamedFolderCase{"DottedInnerComponent", u"c:\\windows.\\system32",
                        AddVerdict::kRefuseWindowsFolder},
        NamedFolderCase{"ParentOfASubfolder", u"C:\\Windows\\System32\\..",
                        AddVerdict::kRefuseWindowsFolder},
        NamedFolderCase{"DoubledBackslash", u"C:\\\\Windows", AddVerdict::kRefuseWindowsFolder},
        NamedFolderCase{"ProgramFolderWithBackslash", u"C:\\Program Files\\Vorlin\\",
                        AddVerdict::kRefuseProgramFolder},
        NamedFolderCase{"ProgramFolderWithDotAndSlash", u"c:/program files/vorlin. ",
                        AddVerdict::kRefuseProgramFolder},
        NamedFolderCase{"RootWithSpace", u"C:\\ ", AddVerdict::kIgnore},
        NamedFolderCase{"RootWithDot", u"C:\\.", AddVerdict::kIgnore},
        NamedFolderCase{"WindowsOldStaysAllowed", u"C:\\Windows.old\\", AddVerdict::kAccept},
        NamedFolderCase{"OrdinaryFolderWithBackslash", u"D:\\Photos\\", AddVerdict::kAccept}),
    CaseName);

TEST(AddDecision, KeepsTheEntryAsTheFileReaderWillReadItBack) {
    EXPECT_EQ(StoredFolderPath(u"\tD:\\PHOTOS \u3000"), u"D:\\PHOTOS");
    EXPECT_EQ(StoredFolderPath(u"D:\\MY PHOTOS"), u"D:\\MY PHOTOS");
}

TEST(AddDecision, NamesTheFolderThatWindowsOpens) {
    EXPECT_EQ(NamedFolder(u"D:/A. /B \\"), u"D:\\A\\B");
    EXPECT_EQ(NamedFolder(u"\\\\SERVER\\SHARE\\"), u"\\\\SERVER\\SHARE");
    EXPECT_EQ(NamedFolder(u"C:\\"), u"C:");
}

}  // namespace
}  // namespace brambolt
