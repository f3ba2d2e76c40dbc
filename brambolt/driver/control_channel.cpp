#include "control_channel.h"

#include <windows.h>

#include <array>
#include <string>

#include "control_codes.h"
#include "driver_port.h"
#include "user_names.h"

namespace brambolt {

namespace {

// A control device opened through the port, closed through the same port.
class PortDevice {
  public:
    PortDevice(DriverPort& port, const std::wstring& path)
        : port_(port), handle_(port.OpenDevice(path.c_str())) {}
    PortDevice(const PortDevice&) = delete;
    PortDevice& operator=(const PortDevice&) = delete;
    ~PortDevice() {
        if (Opened()) {
            port_.CloseDevice(handle_);
        }
    }
    [[nodiscard]] bool Opened() const noexcept {
        return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr;
    }
    [[nodiscard]] HANDLE Get() const noexcept { return handle_; }

  private:
    DriverPort& port_;
    HANDLE handle_;
};

bool SendRequest(DWORD code, const void* input, DWORD inputSize) {
    DriverPort& port = CurrentDriverPort();
    const PortDevice device(port, GetDriverDevicePath());
    if (!device.Opened()) {
        return false;
    }
    return port.SendControl(device.Get(), code, input, inputSize);
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
