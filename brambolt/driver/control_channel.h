// The filter driver's control channel: each request opens this user's control device, sends one
// control code and closes the device again. True on success; false when the driver is not loaded,
// refuses the open, or fails the request. Nothing is reported.
#pragma once

#include <cstdint>

namespace brambolt {

bool PingDriver();
// 1 switches protection on for every folder of the lock list file, 0 switches it off.
bool SetDriverProtection(std::int32_t value);
// 1 before the program's own file work in its data folder, 0 right after.
bool SetDataFolderAccess(std::int32_t value);

}  // namespace brambolt
