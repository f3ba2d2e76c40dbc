// A stand-in for the filter driver and the Filter Manager, behind the program's DriverPort seam.
// It keeps the driver's contract: a load succeeds only for a service whose registration is
// complete and whose image file exists, a second load fails as the Filter Manager's does, the
// control device answers only on "\\.\" + the name the driver was loaded under, and protection
// and data-access state outlive the process (they are kept in the registry of the machine).
// Every request is journaled (see bench_journal.h).
#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <string>

#include "brambolt/driver/driver_port.h"

namespace brambolt::testbench {

// The Filter Manager's answers that the stand-in gives.
inline constexpr HRESULT kLoadAlreadyLoaded = HRESULT_FROM_WIN32(ERROR_SERVICE_ALREADY_RUNNING);
inline constexpr HRESULT kLoadNoService = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
inline constexpr HRESULT kLoadBadRegistration = HRESULT_FROM_WIN32(ERROR_BAD_DRIVER);
inline constexpr HRESULT kLoadNoPrivilege = HRESULT_FROM_WIN32(ERROR_PRIVILEGE_NOT_HELD);
inline constexpr HRESULT kUnloadNotLoaded = static_cast<HRESULT>(0x801F0013);  // FILTER_NOT_FOUND

class StandInDriver final : public DriverPort {
  public:
    DriverDevice OpenDevice(const wchar_t* devicePath) override;
    bool SendControl(HANDLE device, DWORD code, const void* input, DWORD inputSize) override;
    HRESULT FilterLoad(const wchar_t* serviceName) override;
    HRESULT FilterUnload(const wchar_t* serviceName) override;

  protected:
    void CloseDevice(HANDLE device) override;

  private:
    std::mutex lock_;
    std::map<HANDLE, std::wstring> openDevices_;  // device handle -> service name
};

// The process-wide stand-in, for a test build's composition root and for tests.
StandInDriver& StandIn();

}  // namespace brambolt::testbench
