// A window built in code (no dialog template) and run through the framework's modal loop, which
// ends with a result code. The window procedure stores the object on WM_NCCREATE and forwards
// every later message to it.
#pragma once

#include <windows.h>

#include "brambolt/base/unique_handle.h"
#include "brambolt/framework/modal_loop.h"

namespace brambolt {

struct WindowClassSpec {
    const wchar_t* name;
    UINT style;
    const wchar_t* cursor;  // a system cursor id such as IDC_ARROW
    int backgroundColor;    // a COLOR_ index; the brush is COLOR_ + 1
};

struct WindowSpec {
    DWORD exStyle;
    const wchar_t* caption;
    DWORD style;
    int x;
    int y;
    int width;
    int height;
    HWND owner;
};

class CModalWindow {
  public:
    CModalWindow() = default;
    CModalWindow(const CModalWindow&) = delete;
    CModalWindow& operator=(const CModalWindow&) = delete;
    virtual ~CModalWindow() = default;

    // Registers the class once per process and creates the window; false when either fails.
    bool CreateModalWindow(const WindowClassSpec& windowClass, const WindowSpec& window);
    // Runs the modal loop until EndModalLoop; the window stays until DestroyModalWindow.
    INT_PTR RunModalLoop();
    void EndModalLoop(INT_PTR result) noexcept { loop_.End(result); }
    void DestroyModalWindow() noexcept { window_.reset(); }
    [[nodiscard]] HWND Window() const noexcept { return window_.get(); }

  protected:
    // WM_COMMAND; TRUE when handled. The base handles nothing.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Every message; the base sends WM_COMMAND to OnCommand and the rest to DefWindowProcW.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);

    UniqueHwnd window_;
    HWND creatingWindow_ = nullptr;
    ModalLoop loop_;
};

}  // namespace brambolt
