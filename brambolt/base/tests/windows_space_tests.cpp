#include <gtest/gtest.h>

#include "brambolt/base/windows_space.h"

namespace brambolt {
namespace {

TEST(WindowsSpace, ControlSpacesBlanksAndTheWideSpacesCount) {
    for (char16_t unit :
         {u'\t', u'\n', u'\v', u'\f', u'\r', u' ', u'\u00A0', u'\u1680', u'\u2000', u'\u2005',
          u'\u200A', u'\u2028', u'\u2029', u'\u202F', u'\u205F', u'\u3000'}) {
        EXPECT_TRUE(IsWindowsSpace(unit)) << static_cast<int>(unit);
    }
}

TEST(WindowsSpace, LettersSeparatorsAndZeroWidthUnitsDoNot) {
    for (char16_t unit :
         {u'\0', u'A', u'\\', u':', u'\u0008', u'\u000E', u'\u001F', u'\u0085', u'\u180E',
          u'\u1FFF', u'\u200B', u'\u2027', u'\u2030', u'\uFEFF', u'\uFFFF'}) {
        EXPECT_FALSE(IsWindowsSpace(unit)) << static_cast<int>(unit);
    }
}

}  // namespace
}  // namespace brambolt
