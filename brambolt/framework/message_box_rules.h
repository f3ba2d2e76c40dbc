// Platform-free rules of the application message box: its caption and its default icon.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brambolt {

// The file name of an executable path without folder and extension: "C:\A\Brambolt.exe" gives
// "Brambolt".
std::u16string ExecutableBaseName(std::u16string_view modulePath);

// The message box type the application box shows: a box given no icon gets the warning icon
// when it offers OK, and the question icon when it asks yes or no.
std::uint32_t AppMessageBoxType(std::uint32_t type);

}  // namespace brambolt
