// Brambolt's main window, on dialog template 102.
#pragma once

#include <windows.h>

#include <cstdint>

#include "brambolt/framework/controls.h"
#include "brambolt/framework/dialog.h"
#include "brambolt/framework/hyperlink.h"
#include "brambolt/resources/resource_ids.h"
#include "brambolt/web/notice_panel.h"

namespace brambolt {

class CKeldaDlg : public CDialog {
  public:
    enum { IDD = IDD_KELDA_DIALOG };

    explicit CKeldaDlg(HWND parent = nullptr);
    ~CKeldaDlg() override;

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                              std::intptr_t& result) override;

  private:
    // Loads the lock list (through the driver's data-folder access when it answers, starting its
    // installation otherwise) and shows it in list order.
    void LoadFolderList();
    std::intptr_t OnPaint(std::uintptr_t wParam, std::intptr_t lParam);
    std::intptr_t OnQueryDragIcon(std::uintptr_t wParam, std::intptr_t lParam);
    std::intptr_t OnWakeMainWindow(std::uintptr_t wParam, std::intptr_t lParam);
    // Esc and every other cancel request leave the window open.
    void OnCancelCommand() {}

    HICON icon_;  // shared resource icon: the system owns it
    HWND noticePlaceholder_ = nullptr;
    CListBox folderList_;
    CButton setPasswordButton_;
    CLinkCtrl updateLink_;
    NoticePanel noticePanel_;  // its view and controller, and offlineFallbackShown
};

}  // namespace brambolt
