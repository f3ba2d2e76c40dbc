// The hyperlink control: a SysLink control whose whole text is one link to a configured address.
// Clicks are handled by CDialog, which opens the link's address in the default browser.
#pragma once

#include <windows.h>

#include <string_view>

namespace brambolt {

class CLinkCtrl {
  public:
    // Makes the control's current text a link to urlPrefix + target (the prefix is not doubled
    // when the target already carries it). The control shows no tooltip.
    bool Attach(HWND dialog, int controlId, std::wstring_view urlPrefix, std::wstring_view target);
    [[nodiscard]] HWND Window() const noexcept { return window_; }

  private:
    HWND window_ = nullptr;
};

}  // namespace brambolt
