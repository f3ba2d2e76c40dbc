// The set-password dialog, on template 103: sets or replaces the protection password without
// asking for the old one. The main window runs it modally and ignores its result:
//     CSetpassDlg dialog(owner);
//     dialog.DoModal();
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "brambolt/framework/dialog.h"
#include "brambolt/resources/resource_ids.h"

namespace brambolt {

class CSetpassDlg : public CDialog {
  public:
    enum { IDD = IDD_SETPASS_DIALOG };

    explicit CSetpassDlg(HWND parent = nullptr);
    // Wipes whatever the members still hold of a typed password.
    ~CSetpassDlg() override;

  protected:
    void DoDataExchange(DataExchange& exchange) override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                              std::intptr_t& result) override;

  private:
    // 确认: checks the typed password, then hashes it into the process's credential record and
    // saves the record. A refused password or a failed save leaves the dialog open.
    void OnSetPassword();
    void OnCancelButton() { OnCancel(); }
    void ReportSaveFailure() const;
    void WipeTypedTexts() noexcept;

    std::wstring password_;      // edit 1015
    std::wstring confirmation_;  // edit 1016
};

}  // namespace brambolt
