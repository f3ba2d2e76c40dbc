// The application message box of the driver's own reports, captioned with the program's name.
#pragma once

#include <windows.h>

#include <string>

namespace brambolt {

void ShowDriverMessage(const std::wstring& text, UINT type);

}  // namespace brambolt
