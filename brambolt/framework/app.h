// The application object: one per process, constructed as a static. The framework's entry point
// runs its instance initialisation, then (when that asks for it) a message loop, then its exit
// step.
#pragma once

#include <windows.h>

#include <string>

namespace brambolt {

class CWinApp {
  public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // TRUE asks for a message loop after initialisation; FALSE goes straight to the exit step.
    // The base registers the common control classes the framework's dialogs use.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    [[nodiscard]] HINSTANCE Instance() const noexcept { return instance_; }
    // The base name of the executable (no folder, no extension): the caption of application
    // message boxes.
    [[nodiscard]] const std::wstring& AppName() const noexcept { return appName_; }

  private:
    friend int RunApplication(HINSTANCE instance);
    int Run();

    HINSTANCE instance_ = nullptr;
    std::wstring appName_;
};

// The process's application object, or null before it is constructed.
CWinApp* AfxGetApp() noexcept;

// The framework's WinMain: initialisation, optional message loop, exit step. Returns the exit
// code.
int RunApplication(HINSTANCE instance);

}  // namespace brambolt
