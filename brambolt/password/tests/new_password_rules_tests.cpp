#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "brambolt/base/windows_space.h"
#include "brambolt/password/new_password_rules.h"

namespace brambolt {

void PrintTo(NewPasswordCheck check, std::ostream* out) {
    *out << "NewPasswordCheck " << static_cast<int>(check);
}

namespace {

struct NewPasswordCase {
    const char* name;
    std::u16string password;      // as typed
    std::u16string confirmation;  // as typed
    NewPasswordCheck expected;
};

TEST(NewPassword, ChecksRunInTheDialogsOrderOnTheTrimmedTexts) {
    const NewPasswordCase cases[] = {
        {"five characters", u"abcde", u"abcde", NewPasswordCheck::BadLength},
        {"thirteen characters", u"abcdefghijklm", u"abcdefghijklm", NewPasswordCheck::BadLength},
        {"six characters", u"abc123", u"abc123", NewPasswordCheck::Accepted},
        {"twelve characters", u"abcdefghijkl", u"abcdefghijkl", NewPasswordCheck::Accepted},
        {"two spaces each side", u"  abcdef  ", u"abcdef", NewPasswordCheck::Accepted},
        {"spaces trim to five", u"  abcde  ", u"  abcde  ", NewPasswordCheck::BadLength},
        {"inner space", u"abc def", u"abc def", NewPasswordCheck::Accepted},
        {"tab, ideographic space and no-break space trimmed", u"\tabcdef\u3000\u00A0", u"abcdef",
         NewPasswordCheck::Accepted},
        {"full-width digits", u"abc\uFF11\uFF12\uFF13", u"abc\uFF11\uFF12\uFF13",
         NewPasswordCheck::NotHalfWidth},
        {"full-width before length", u"\uFF11\uFF12", u"x", NewPasswordCheck::NotHalfWidth},
        {"tilde and space are half-width", u"~ !abc", u"~ !abc", NewPasswordCheck::Accepted},
        {"DEL is not", u"abcdef\u007F", u"abcdef\u007F", NewPasswordCheck::NotHalfWidth},
        {"control unit is not", u"abc\u001Fdef", u"abc\u001Fdef", NewPasswordCheck::NotHalfWidth},
        {"13 characters, other confirmation", u"abcdefghijklm", u"zzz",
         NewPasswordCheck::BadLength},
        {"empty with a confirmation", u"", u"abcdef", NewPasswordCheck::Empty},
        {"only spaces", u"   ", u"", NewPasswordCheck::Empty},
        {"mismatch", u"abcdef", u"abcdeg", NewPasswordCheck::Mismatch},
        {"case differs", u"abcdef", u"ABCDEF", NewPasswordCheck::Mismatch},
        {"empty confirmation", u"abcdef", u"", NewPasswordCheck::Mismatch},
    };
    for (const NewPasswordCase& c : cases) {
        EXPECT_EQ(CheckNewPassword(TrimWindowsSpace(c.password), TrimWindowsSpace(c.confirmation)),
                  c.expected)
            << c.name;
    }
}

TEST(NewPassword, TrimKeepsInnerSpaceAndDropsOuterWhiteSpace) {
    EXPECT_EQ(TrimWindowsSpace(u"  ab cd  "), u"ab cd");
    EXPECT_EQ(TrimWindowsSpace(u"\r\n\v\f"), u"");
    EXPECT_EQ(TrimWindowsSpace(u"\u200Babc\u0085"), u"\u200Babc\u0085") << "not space on Windows";
}

}  // namespace
}  // namespace brambolt
