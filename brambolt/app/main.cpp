// Brambolt.exe: the shipped program, talking to the real filter driver and Filter Manager.
#include <windows.h>

#include "brambolt/app/brambolt_main.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    return brambolt::RunBrambolt(instance);
}
