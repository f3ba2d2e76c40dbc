// OLE for the user-interface thread, with the framework's message filter, for the lifetime of
// the object.
#pragma once

#include <windows.h>

#include <ole2.h>

namespace brambolt {

class OleSession {
  public:
    OleSession() = default;
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession() { Stop(); }

    // OleInitialize and the message filter; false when OLE cannot be initialised.
    bool Start();
    void Stop() noexcept;

  private:
    bool started_ = false;
    IMessageFilter* previousFilter_ = nullptr;
};

}  // namespace brambolt
