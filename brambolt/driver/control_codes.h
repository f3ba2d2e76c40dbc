// The filter driver's control codes and the prefix of its control device's path.
#pragma once

#include <windows.h>

#include <winioctl.h>

namespace brambolt {

inline constexpr DWORD IOCTL_FILTER_PING =
    CTL_CODE(FILE_DEVICE_UNKNOWN, 0x858, METHOD_BUFFERED, FILE_ANY_ACCESS);
inline constexpr DWORD IOCTL_FILTER_SET_PROTECTION =
    CTL_CODE(FILE_DEVICE_UNKNOWN, 0x859, METHOD_BUFFERED, FILE_ANY_ACCESS);
inline constexpr DWORD IOCTL_FILTER_SET_DATA_ACCESS =
    CTL_CODE(FILE_DEVICE_UNKNOWN, 0x860, METHOD_BUFFERED, FILE_ANY_ACCESS);

static_assert(IOCTL_FILTER_PING == 0x222160);
static_assert(IOCTL_FILTER_SET_PROTECTION == 0x222164);
static_assert(IOCTL_FILTER_SET_DATA_ACCESS == 0x222180);

// The device answers on this prefix followed by the driver's service name.
inline constexpr wchar_t kDevicePathPrefix[] = L"\\\\.\\";

}  // namespace brambolt
