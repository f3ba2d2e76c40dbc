// A driver port for tests: records every call, answers opens, controls and loads as scripted.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "brambolt/driver/driver_port.h"

namespace brambolt::testing {

class RecordingPort final : public DriverPort {
  public:
    struct Call {
        std::string request;   // "open", "open refused", "ping", "protection 1", "close", ...
        std::wstring subject;  // the device path of an open, the service of a load or unload
        std::vector<unsigned char> input;
        bool inputWasNull = false;
        HANDLE device = nullptr;
    };

    DriverDevice OpenDevice(const wchar_t* devicePath) override;
    bool SendControl(HANDLE device, DWORD code, const void* input, DWORD inputSize) override;
    HRESULT FilterLoad(const wchar_t* serviceName) override;
    HRESULT FilterUnload(const wchar_t* serviceName) override;

    [[nodiscard]] std::vector<Call> Calls() const;
    // Only the request words, in order.
    [[nodiscard]] std::vector<std::string> Requests() const;
    void Clear();

    // The next opens succeed or not, one answer each; after that `opens` answers.
    std::deque<bool> openScript;
    bool opens = true;
    bool answers = true;
    HRESULT loadResult = S_OK;
    std::function<void()> onLoad;  // runs inside FilterLoad, without the port's lock
    // NOLINTNEXTLINE(performance-no-int-to-ptr): a made-up handle value
    const HANDLE device = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x4242));

  protected:
    void CloseDevice(HANDLE device) override;

  private:
    void Record(Call call);

    mutable std::mutex mutex_;
    std::vector<Call> calls_;
};

// Installs a port for the lifetime of the object and puts the system's previous one back.
class ScopedDriverPort {
  public:
    explicit ScopedDriverPort(DriverPort& port) : previous_(CurrentDriverPort()) {
        InstallDriverPort(port);
    }
    ScopedDriverPort(const ScopedDriverPort&) = delete;
    ScopedDriverPort& operator=(const ScopedDriverPort&) = delete;
    ~ScopedDriverPort() { InstallDriverPort(previous_); }

  private:
    DriverPort& previous_;
};

}  // namespace brambolt::testing
