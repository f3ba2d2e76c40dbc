// Data exchange between a dialog's controls and its members, one direction per pass: towards the
// members (save and validate) or towards the controls. The first binding that fails focuses its
// control and ends the pass.
#pragma once

#include <windows.h>

#include <string>

#include "brambolt/framework/controls.h"

namespace brambolt {

class DataExchange {
  public:
    DataExchange(HWND dialog, bool saveAndValidate) noexcept
        : dialog_(dialog), saveAndValidate_(saveAndValidate) {}

    [[nodiscard]] bool SaveAndValidate() const noexcept { return saveAndValidate_; }
    [[nodiscard]] bool Failed() const noexcept { return failed_; }

    // An edit control's text and a string member.
    void Text(int controlId, std::wstring& value);
    // Attaches a control view to the dialog's control (in either direction).
    void Control(int controlId, CWndControl& control);

  private:
    HWND Item(int controlId);

    HWND dialog_;
    bool saveAndValidate_;
    bool failed_ = false;
};

}  // namespace brambolt
