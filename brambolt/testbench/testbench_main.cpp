// BramboltTestBench.exe: Brambolt with the stand-in driver and shell installed at its composition
// root.
#include <windows.h>

#include "brambolt/app/brambolt_main.h"
#include "brambolt/driver/driver_port.h"
#include "brambolt/folders/shell_port.h"
#include "brambolt/testbench/stand_in_driver.h"
#include "brambolt/testbench/stand_in_shell.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    brambolt::InstallDriverPort(brambolt::testbench::StandIn());
    brambolt::InstallShellPort(brambolt::testbench::StandInShellPort());
    return brambolt::RunBrambolt(instance);
}
