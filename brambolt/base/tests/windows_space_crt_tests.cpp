#include <gtest/gtest.h>

#include <cwctype>

#include "brambolt/base/windows_space.h"

namespace brambolt {
namespace {

// The table stands in for the C runtime in the platform-free build; here the runtime can answer.
TEST(WindowsSpace, AgreesWithTheCRuntimeForEveryUtf16Unit) {
    int differences = 0;
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const bool runtime = std::iswspace(static_cast<std::wint_t>(unit)) != 0;
        if (runtime != IsWindowsSpace(static_cast<char16_t>(unit))) {
            ADD_FAILURE() << "unit " << std::hex << unit << ": runtime says " << runtime;
            if (++differences > 10) {
                break;
            }
        }
    }
}

}  // namespace
}  // namespace brambolt
