// BramboltTestBench.exe: Brambolt with the stand-in driver installed at its composition root.
#include <windows.h>

#include "brambolt/app/brambolt_main.h"
#include "brambolt/driver/driver_port.h"
#include "brambolt/testbench/stand_in_driver.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    brambolt::InstallDriverPort(brambolt::testbench::StandIn());
    return brambolt::RunBrambolt(instance);
}
