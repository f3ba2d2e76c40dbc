// The end-to-end scenes need an X display for Wine's windows; without one they are skipped
// (CTest's skip code), never reported as passed.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (::GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
        std::fputs("DISPLAY is not set: the end-to-end scenes need an X display\n", stderr);
        return 77;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
