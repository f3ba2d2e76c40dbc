#include <gtest/gtest.h>

#include <cstdint>

#include "brambolt/framework/message_box_rules.h"

namespace brambolt {
namespace {

TEST(ExecutableBaseName, DropsFolderAndExtension) {
    struct Case {
        const char16_t* path;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"C:\\Program Files\\Vorlin\\Brambolt.exe", u"Brambolt"},
        {u"Brambolt.exe", u"Brambolt"},
        {u"C:\\A.B\\tool", u"tool"},
        {u"C:\\dir/Mixed.Name.exe", u"Mixed.Name"},
        {u"C:\\dir\\.hidden", u".hidden"},
        {u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExecutableBaseName(c.path), c.expected);
    }
}

TEST(AppMessageBoxType, BoxWithoutIconGetsWarningWithOkAndQuestionWithYesNo) {
    struct Case {
        std::uint32_t given;
        std::uint32_t shown;
    };
    const Case cases[] = {
        {0x0, 0x30},             // MB_OK
        {0x1, 0x31},             // MB_OKCANCEL
        {0x4, 0x24},             // MB_YESNO
        {0x3, 0x23},             // MB_YESNOCANCEL
        {0x5, 0x5},              // MB_RETRYCANCEL keeps no icon
        {0x10, 0x10},            // MB_ICONERROR stays
        {0x40, 0x40},            // MB_ICONINFORMATION stays
        {0x2000 | 0x0, 0x2030},  // other flags are kept
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AppMessageBoxType(c.given), c.shown) << std::hex << c.given;
    }
}

}  // namespace
}  // namespace brambolt
