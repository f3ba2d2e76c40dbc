// Brambolt's application object: the start-up sequence and the exit step.
#pragma once

#include "brambolt/base/unique_handle.h"
#include "brambolt/framework/app.h"
#include "brambolt/framework/ole_session.h"

namespace brambolt {

class CKeldaApp : public CWinApp {
  public:
    CKeldaApp() = default;
    ~CKeldaApp() override = default;

    // The start-up sequence. Always FALSE: no message loop follows, the exit step runs next.
    BOOL InitInstance() override;
    // Releases the single-instance mutex when this instance owns it.
    int ExitInstance() override;

  private:
    // Held only by the instance that created the mutex.
    UniqueHandle singleInstanceMutex_;
    OleSession ole_;
};

}  // namespace brambolt
