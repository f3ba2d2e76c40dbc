// The application message box: captioned with the program's name (the executable's base name);
// a box given no icon shows the warning icon when it has an OK button.
#pragma once

#include <windows.h>

#include <string_view>

namespace brambolt {

int AppMessageBox(HWND owner, std::wstring_view text, UINT type = MB_OK);

}  // namespace brambolt
