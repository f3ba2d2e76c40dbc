#include "brambolt/driver/control_channel.h"

#include <windows.h>

#include <array>

#include "brambolt/driver/control_codes.h"
#include "brambolt/driver/driver_port.h"
#include "brambolt/driver/user_names.h"

namespace brambolt {

namespace {

bool SendRequest(DWORD code, const void* input, DWORD inputSize) {
    DriverPort& port = CurrentDriverPort();
    const DriverDevice device = port.OpenDevice(GetDriverDevicePath().c_str());
    if (!device) {
        return false;
    }
    return port.SendControl(device.get(), code, input, inputSize);
}

bool SendValue(DWORD code, std::int32_t value) {
    // The driver reads four bytes, little-endian.
    const auto bits = static_cast<std::uint32_t>(value);
    const std::array<unsigned char, 4> input{static_cast<unsigned char>(bits & 0xFF),
                                             static_cast<unsigned char>((bits >> 8) & 0xFF),
                                             static_cast<unsigned char>((bits >> 16) & 0xFF),
                                             static_cast<unsigned char>((bits >> 24) & 0xFF)};
    return SendRequest(code, input.data(), static_cast<DWORD>(input.size()));
}

}  // namespace

bool PingDriver() {
    return SendRequest(IOCTL_FILTER_PING, nullptr, 0);
}

bool SetDriverProtection(std::int32_t value) {
    return SendValue(IOCTL_FILTER_SET_PROTECTION, value);
}

bool SetDataFolderAccess(std::int32_t value) {
    return SendValue(IOCTL_FILTER_SET_DATA_ACCESS, value);
}

}  // namespace brambolt
