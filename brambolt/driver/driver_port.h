// The lowest seam between Brambolt and its filter driver: opening the control device, sending one
// control code, closing it, and the Filter Manager's load and unload. The shipped program uses the
// system's calls; a test build installs the stand-in driver here at its composition root, so every
// line of the program's own driver code runs unchanged in tests.
#pragma once

#include <windows.h>

namespace brambolt {

class DriverPort {
  public:
    virtual ~DriverPort() = default;

    // CreateFileW on the control device path; INVALID_HANDLE_VALUE when the device does not open.
    virtual HANDLE OpenDevice(const wchar_t* devicePath) = 0;
    // One synchronous DeviceIoControl with no output buffer.
    virtual bool SendControl(HANDLE device, DWORD code, const void* input, DWORD inputSize) = 0;
    virtual void CloseDevice(HANDLE device) = 0;

    // FilterLoad and FilterUnload of the Filter Manager user library.
    virtual HRESULT FilterLoad(const wchar_t* serviceName) = 0;
    virtual HRESULT FilterUnload(const wchar_t* serviceName) = 0;
};

// The port in use: the system's unless a test build installed another.
DriverPort& CurrentDriverPort();
// Composition root only, before any driver request is made.
void InstallDriverPort(DriverPort& port);

}  // namespace brambolt
