// The lowest seam between Brambolt and its filter driver: opening the control device, sending one
// control code, and the Filter Manager's load and unload. The shipped program uses the system's
// calls; a test build installs the stand-in driver here at its composition root, so every line of
// the program's own driver code runs unchanged in tests.
#pragma once

#include <windows.h>

#include <utility>

namespace brambolt {

class DriverPort;

// An open control device, closed through the port that opened it.
class DriverDevice {
  public:
    DriverDevice() noexcept = default;
    DriverDevice(DriverPort& port, HANDLE handle) noexcept : port_(&port), handle_(handle) {}
    DriverDevice(const DriverDevice&) = delete;
    DriverDevice& operator=(const DriverDevice&) = delete;
    DriverDevice(DriverDevice&& other) noexcept
        : port_(other.port_), handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    DriverDevice& operator=(DriverDevice&& other) noexcept;
    ~DriverDevice() { reset(); }

    [[nodiscard]] bool valid() const noexcept {
        return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr;
    }
    explicit operator bool() const noexcept { return valid(); }
    [[nodiscard]] HANDLE get() const noexcept { return handle_; }
    void reset() noexcept;

  private:
    DriverPort* port_ = nullptr;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

class DriverPort {
  public:
    virtual ~DriverPort() = default;

    // CreateFileW on the control device path; an empty device when it does not open.
    virtual DriverDevice OpenDevice(const wchar_t* devicePath) = 0;
    // One synchronous DeviceIoControl with no output buffer.
    virtual bool SendControl(HANDLE device, DWORD code, const void* input, DWORD inputSize) = 0;

    // FilterLoad and FilterUnload of the Filter Manager user library.
    virtual HRESULT FilterLoad(const wchar_t* serviceName) = 0;
    virtual HRESULT FilterUnload(const wchar_t* serviceName) = 0;

  protected:
    friend class DriverDevice;
    // Only DriverDevice closes what OpenDevice opened.
    virtual void CloseDevice(HANDLE device) = 0;
};

// The port in use: the system's unless a test build installed another.
DriverPort& CurrentDriverPort();
// Composition root only, before any driver request is made.
void InstallDriverPort(DriverPort& port);

}  // namespace brambolt
