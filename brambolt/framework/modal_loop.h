// The one modal message loop of the framework, shared by template dialogs and by windows built in
// code. It runs IsDialogMessage for its window, so Enter, Esc and Tab behave as in any dialog.
#pragma once

#include <windows.h>

namespace brambolt {

class ModalLoop {
  public:
    // Runs until End is called (its result is returned), until WM_QUIT arrives (which is posted
    // again for the outer loop; the result is IDCANCEL), or until GetMessageW fails (-1).
    INT_PTR Run(HWND window);
    void End(INT_PTR result) noexcept;
    [[nodiscard]] bool Running() const noexcept { return running_; }

  private:
    bool running_ = false;
    bool endRequested_ = false;
    INT_PTR result_ = 0;
};

}  // namespace brambolt
