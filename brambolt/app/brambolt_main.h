// Brambolt's process body, shared by the shipped program and the test bench's build; each
// composition root (its wWinMain) installs its driver port first.
#pragma once

#include <windows.h>

namespace brambolt {

int RunBrambolt(HINSTANCE instance);

}  // namespace brambolt
