// Borrowed views of dialog controls, bound by data exchange. They do not own their windows: the
// dialog does.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace brambolt {

class CWndControl {
  public:
    [[nodiscard]] HWND Window() const noexcept { return window_; }
    void Attach(HWND window) noexcept { window_ = window; }

  protected:
    HWND window_ = nullptr;
};

class CButton : public CWndControl {};

class CListBox : public CWndControl {
  public:
    // The new row's index, or LB_ERR.
    int AddString(std::wstring_view text) const;
    int DeleteString(int index) const;
    void ResetContent() const;
    [[nodiscard]] int GetCount() const;
    // LB_ERR when no row is selected.
    [[nodiscard]] int GetCurSel() const;
    [[nodiscard]] std::wstring GetText(int index) const;
};

// The text of a window, whatever its length.
std::wstring WindowText(HWND window);

}  // namespace brambolt
