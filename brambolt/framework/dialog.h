// A modal dialog built from a dialog template of the executable's resources. The dialog
// procedure stores the object on WM_INITDIALOG and forwards every later message to its map.
#pragma once

#include <windows.h>

#include <cstdint>

#include "brambolt/framework/data_exchange.h"
#include "brambolt/framework/modal_loop.h"

namespace brambolt {

class CDialog {
  public:
    explicit CDialog(UINT templateId, HWND parent = nullptr) noexcept
        : templateId_(templateId), parent_(parent) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog();

    // Creates the dialog, disables its owner, runs the modal loop and destroys the window.
    // -1 when the template cannot be made into a window.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result) noexcept;
    [[nodiscard]] HWND Window() const noexcept { return window_; }
    // Runs DoDataExchange in one direction; false when a binding failed.
    bool UpdateData(bool saveAndValidate = true);

  protected:
    // The base runs the data exchange towards the controls; TRUE lets the system set the focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(DataExchange& exchange);
    // Saves and validates the data, then ends the dialog with IDOK.
    virtual void OnOK();
    virtual void OnCancel();
    // The message-map accessor: a derived dialog walks its own table, then calls its base.
    virtual bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                      std::intptr_t& result);

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
    HWND window_ = nullptr;
    ModalLoop loop_;
    // EndDialog during initialisation, before the loop runs.
    bool endedEarly_ = false;
    INT_PTR earlyResult_ = IDCANCEL;
};

}  // namespace brambolt
