#include "driver_port.h"

#include <fltuser.h>

namespace brambolt {

namespace {

// The system's calls: the device through the I/O manager, loading through the Filter Manager.
class SystemDriverPort final : public DriverPort {
  public:
    HANDLE OpenDevice(const wchar_t* devicePath) override {
        return ::CreateFileW(devicePath, GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    bool SendControl(HANDLE device, DWORD code, const void* input, DWORD inputSize) override {
        DWORD returned = 0;
        return ::DeviceIoControl(device, code, const_cast<void*>(input), inputSize, nullptr, 0,
                                 &returned, nullptr) != FALSE;
    }
    void CloseDevice(HANDLE device) override { ::CloseHandle(device); }
    HRESULT FilterLoad(const wchar_t* serviceName) override { return ::FilterLoad(serviceName); }
    HRESULT FilterUnload(const wchar_t* serviceName) override {
        return ::FilterUnload(serviceName);
    }
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
