// The start-up prompt for the protection password: a window built in code (no template), run
// through the framework's modal loop. It ends its loop with 1 when 确定 (or Enter) hands over the
// typed text, and with 2 on Escape or a close request; 忘记密码? runs account recovery while the
// loop goes on.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "brambolt/framework/modal_window.h"

namespace brambolt {

// Account recovery, run from inside the prompt's loop. It receives the prompt's window; when it
// shows a window of its own it disables the prompt, enables it again afterwards and puts the focus
// back into the edit control.
using AccountRecovery = std::function<void(HWND prompt)>;

class CPassInputDlg : public CModalWindow {
  public:
    static constexpr int kPasswordEditId = 20001;
    static constexpr int kForgotPasswordId = 20002;
    static constexpr INT_PTR kEntered = 1;
    static constexpr INT_PTR kCancelled = 2;

    explicit CPassInputDlg(AccountRecovery recoverAccount);
    // Wipes the entered password.
    ~CPassInputDlg() override;

    // Creates the window with no owner, centred on the screen, with its controls, shows it and
    // puts the focus into the edit control. False when the window cannot be created.
    virtual bool Create();

    // The text of the edit control as it stood when 确定 was pressed.
    [[nodiscard]] const std::wstring& EnteredPassword() const noexcept { return enteredPassword_; }
    void WipeEnteredPassword() noexcept;
    // Empties the edit control and puts the focus into it, for another attempt.
    void ClearPasswordField() const;

  protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The close request ends the loop with 2 and leaves the window to its owner.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    bool CreateControls();

    AccountRecovery recoverAccount_;
    HWND edit_ = nullptr;  // a child: the window destroys it
    std::wstring enteredPassword_;
};

}  // namespace brambolt
