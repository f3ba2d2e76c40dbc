#include "brambolt/driver/driver_port.h"

#include <fltuser.h>

namespace brambolt {

DriverDevice& DriverDevice::operator=(DriverDevice&& other) noexcept {
    if (this != &other) {
        reset();
        port_ = other.port_;
        handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    }
    return *this;
}

void DriverDevice::reset() noexcept {
    const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr && port_ != nullptr) {
        port_->CloseDevice(handle);
    }
}

namespace {

// The system's calls: the device through the I/O manager, loading through the Filter Manager.
class SystemDriverPort final : public DriverPort {
  public:
    DriverDevice OpenDevice(const wchar_t* devicePath) override {
        return {*this, ::CreateFileW(devicePath, GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr)};
    }
    bool SendControl(HANDLE device, DWORD code, const void* input, DWORD inputSize) override {
        DWORD returned = 0;
        return ::DeviceIoControl(device, code, const_cast<void*>(input), inputSize, nullptr, 0,
                                 &returned, nullptr) != FALSE;
    }
    HRESULT FilterLoad(const wchar_t* serviceName) override { return ::FilterLoad(serviceName); }
    HRESULT FilterUnload(const wchar_t* serviceName) override {
        return ::FilterUnload(serviceName);
    }

  protected:
    void CloseDevice(HANDLE device) override { ::CloseHandle(device); }
};

SystemDriverPort g_systemPort;
DriverPort* g_currentPort = &g_systemPort;

}  // namespace

DriverPort& CurrentDriverPort() {
    return *g_currentPort;
}

void InstallDriverPort(DriverPort& port) {
    g_currentPort = &port;
}

}  // namespace brambolt
