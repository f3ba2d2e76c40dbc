// Brambolt's main window, on dialog template 102: the protected folders, their Add, Delete and
// opening, the Set-password button, and leaving with protection on or the driver removed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "brambolt/folders/lock_list_codec.h"
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
    // True when the driver answers, after loading it once if it did not; otherwise the refusal
    // box with this text has been shown.
    bool DriverAnswers(const wchar_t* refusal);
    void ShowWarning(const wchar_t* text, const wchar_t* caption, UINT type);
    // Waits for the commits still running; when one of them failed, shows the list the file really
    // holds, tells the user and returns true (the caller then stops what it was doing).
    bool SettleCommits();
    void ShowRows(const LockListEntries& entries);

    void OnOK() override;
    void OnAddFolder();
    void OnDeleteFolder();
    void OnOpenFolder();
    void OnSetPassword();
    // Esc and every other cancel request leave the window open.
    void OnCancelCommand() {}
    std::intptr_t OnPaint(std::uintptr_t wParam, std::intptr_t lParam);
    std::intptr_t OnQueryDragIcon(std::uintptr_t wParam, std::intptr_t lParam);
    std::intptr_t OnWakeMainWindow(std::uintptr_t wParam, std::intptr_t lParam);
    std::intptr_t OnCommitFailed(std::uintptr_t wParam, std::intptr_t lParam);
    std::intptr_t OnReportUnreadableList(std::uintptr_t wParam, std::intptr_t lParam);
    // Timer 101 of the watch over an opened folder.
    void OnTimer(UINT_PTR timer);

    HICON icon_;  // shared resource icon: the system owns it
    HWND noticePlaceholder_ = nullptr;
    CListBox folderList_;
    CButton setPasswordButton_;
    CLinkCtrl updateLink_;
    NoticePanel noticePanel_;            // its view and controller, and offlineFallbackShown
    std::wstring unreadableListNotice_;  // shown once after the window opens
};

}  // namespace brambolt
