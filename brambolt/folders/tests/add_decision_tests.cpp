#include <gtest/gtest.h>

#include <string>

#include "brambolt/folders/add_decision.h"
#include "brambolt/folders/ascii_case.h"

namespace brambolt {
namespace {

constexpr std::u16string_view kProgramFolder = u"C:\\Program Files\\Vorlin";

TEST(AddDecision, TenEntriesRefuseBeforeTheBrowserAndNineDoNot) {
    EXPECT_EQ(JudgeEntryCount(9), AddVerdict::kAccept);
    EXPECT_EQ(JudgeEntryCount(10), AddVerdict::kRefuseTooManyEntries);
    EXPECT_EQ(JudgeEntryCount(12), AddVerdict::kRefuseTooManyEntries);
}

TEST(AddDecision, JudgesTheChosenFolderAfterUpperCasingItsAsciiLetters) {
    struct Case {
        std::u16string chosen;
        AddVerdict verdict;
    };
    const Case cases[] = {
        {u"C:\\Windows", AddVerdict::kRefuseWindowsFolder},
        {u"c:\\windows\\system32", AddVerdict::kRefuseWindowsFolder},
        {u"D:\\BACKUP\\WINDOWS\\OLD", AddVerdict::kRefuseWindowsFolder},
        {u"\\WINDOWS", AddVerdict::kRefuseWindowsFolder},
        {u"C:\\WINDOWS.OLD", AddVerdict::kAccept},
        {u"D:\\MYWINDOWS", AddVerdict::kAccept},
        {u"c:\\program files\\VORLIN", AddVerdict::kRefuseProgramFolder},
        {u"C:\\Program Files", AddVerdict::kAccept},
        {u"C:\\Program Files\\Vorlin\\Data", AddVerdict::kAccept},
        {u"C:\\", AddVerdict::kIgnore},
        {u"", AddVerdict::kIgnore},
        {u"D:\\A", AddVerdict::kAccept},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JudgeChosenFolder(ToAsciiUpper(c.chosen), kProgramFolder), c.verdict)
            << std::string(c.chosen.begin(), c.chosen.end());
    }
}

TEST(AddDecision, OnlyAsciiLettersChangeCase) {
    EXPECT_EQ(ToAsciiUpper(u"d:\\Photos"), u"D:\\PHOTOS");
    EXPECT_EQ(ToAsciiUpper(u"e:\\ärger\\ǆ照片z"), u"E:\\äRGER\\ǆ照片Z");
}

TEST(AddDecision, EachRefusalHasItsWarning) {
    EXPECT_EQ(RefusalText(AddVerdict::kRefuseTooManyEntries), u"不允许超过10条记录");
    EXPECT_EQ(RefusalText(AddVerdict::kRefuseWindowsFolder),
              u"为保证系统稳定，不能包括WINDOWS文件夹");
    EXPECT_EQ(RefusalText(AddVerdict::kRefuseProgramFolder),
              u"为保证系统稳定，不能包括软件自身目录");
    EXPECT_TRUE(RefusalText(AddVerdict::kAccept).empty());
}

}  // namespace
}  // namespace brambolt
