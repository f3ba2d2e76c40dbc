// The end-to-end scenes need an X display for Wine's windows; without one they are skipped
// (CTest's skip code), never reported as passed. Under CI=true a missing display is a failure: a
// pipeline that lost its display must not go green on skipped scenes.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstdio>
#include <string_view>

namespace {

bool RunsUnderCi() {
    std::array<wchar_t, 8> value{};
    const DWORD length =
        ::GetEnvironmentVariableW(L"CI", value.data(), static_cast<DWORD>(value.size()));
    return length > 0 && length < value.size() &&
           std::wstring_view(value.data(), length) == L"true";
}

}  // namespace

int main(int argc, char** argv) {
    if (::GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
        if (RunsUnderCi()) {
            std::fputs("DISPLAY is not set under CI=true: the end-to-end scenes fail\n", stderr);
            return 1;
        }
        std::fputs("DISPLAY is not set: the end-to-end scenes need an X display\n", stderr);
        return 77;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
