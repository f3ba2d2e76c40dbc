#include "brambolt/folders/kelda_dlg.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "brambolt/base/program_directory.h"
#include "brambolt/base/text_conversion.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/base/vendor_site.h"
#include "brambolt/base/windows_space.h"
#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/driver_registration.h"
#include "brambolt/folders/add_decision.h"
#include "brambolt/folders/ascii_case.h"
#include "brambolt/folders/commit_thread.h"
#include "brambolt/folders/explorer_watch.h"
#include "brambolt/folders/lock_list.h"
#include "brambolt/folders/lock_list_startup.h"
#include "brambolt/folders/lock_list_store.h"
#include "brambolt/folders/main_window_messages.h"
#include "brambolt/folders/shell_port.h"
#include "brambolt/folders/window_handle_store.h"
#include "brambolt/framework/message_map.h"
#include "brambolt/password/setpass_dlg.h"

namespace brambolt {
namespace {

constexpr wchar_t kBrowseTitle[] = L"请选择要锁定的文件夹";
constexpr wchar_t kAddWithoutDriver[] =
    L"驱动未正确加载，操作无效。驱动加载可能被安全软件拦截，请注意选择允许。";
constexpr wchar_t kDeleteWithoutDriver[] = L"驱动未正确加载，操作无效";
constexpr UINT kWatchPeriodMs = 3000;
constexpr wchar_t kCommitFailed[] =
    L"文件夹列表写入失败！请检查系统权限或安全软件拦截。\n列表已恢复为实际保存的内容。";
constexpr wchar_t kUnreadableList[] =
    L"文件夹列表文件无法读取，列表暂时显示为空。\n原文件已保留，不会被覆盖或删除。";
constexpr wchar_t kUnreadableListKeptAs[] = L"\n原文件已另存为：";

// Posted to itself at initialisation, so that the notice shows over the opened window.
constexpr UINT WM_REPORT_UNREADABLE_LIST = WM_APP + 22;

}  // namespace

CKeldaDlg::CKeldaDlg(HWND parent)
    : CDialog(IDD, parent),
      icon_(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

CKeldaDlg::~CKeldaDlg() = default;

BOOL CKeldaDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    noticePlaceholder_ = ::GetDlgItem(Window(), IDC_NOTICE_PLACEHOLDER);
    updateLink_.Attach(Window(), IDC_UPDATE_LINK, L"https://",
                       std::wstring(kVendorHost) + L"/?frombrambolt");
    noticePanel_.Start(Window(), noticePlaceholder_);
    LoadFolderList();
    StoreMainWindowHandle(Window());
    return TRUE;
}

void CKeldaDlg::LoadFolderList() {
    const LockListStartup loaded = LoadLockListAtStartup(TheLockList());
    if (loaded.startEnsureDriverThread) {
        // Brings the driver up in the background; nobody waits for it.
        UniqueHandle thread(::CreateThread(nullptr, 0, &EnsureDriverThread, nullptr, 0, nullptr));
    }
    for (const std::wstring& row : loaded.listBoxRows) {
        folderList_.AddString(row);
    }
    // What a failed commit falls back to: an unreadable file holds nothing the program wrote.
    RecordSavedLockList(loaded.unreadableFile ? LockListEntries{} : TheLockList().Entries());
    if (loaded.unreadableFile) {
        unreadableListNotice_ = kUnreadableList;
        if (loaded.keptPath) {
            unreadableListNotice_ += kUnreadableListKeptAs;
            unreadableListNotice_ += *loaded.keptPath;
        }
        ::PostMessageW(Window(), WM_REPORT_UNREADABLE_LIST, 0, 0);
    }
}

void CKeldaDlg::DoDataExchange(DataExchange& exchange) {
    CDialog::DoDataExchange(exchange);
    exchange.Control(IDC_FOLDER_LIST, folderList_);
    exchange.Control(IDC_SET_PASSWORD, setPasswordButton_);
}

bool CKeldaDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                     std::intptr_t& result) {
    static constexpr MessageMapEntry<CKeldaDlg> kMap[] = {
        OnMessage<CKeldaDlg>(WM_PAINT, &CKeldaDlg::OnPaint),
        OnMessage<CKeldaDlg>(WM_QUERYDRAGICON, &CKeldaDlg::OnQueryDragIcon),
        OnCommand<CKeldaDlg>(BN_CLICKED, IDCANCEL, &CKeldaDlg::OnCancelCommand),
        OnCommand<CKeldaDlg>(BN_CLICKED, IDOK, &CKeldaDlg::OnOK),
        OnCommand<CKeldaDlg>(BN_CLICKED, IDC_ADD_FOLDER, &CKeldaDlg::OnAddFolder),
        OnCommand<CKeldaDlg>(BN_CLICKED, IDC_DELETE_FOLDER, &CKeldaDlg::OnDeleteFolder),
        OnCommand<CKeldaDlg>(LBN_DBLCLK, IDC_FOLDER_LIST, &CKeldaDlg::OnOpenFolder),
        OnMessage<CKeldaDlg>(WM_WAKE_MAIN_WINDOW, &CKeldaDlg::OnWakeMainWindow),
        OnMessage<CKeldaDlg>(WM_LOCK_LIST_COMMIT_FAILED, &CKeldaDlg::OnCommitFailed),
        OnMessage<CKeldaDlg>(WM_REPORT_UNREADABLE_LIST, &CKeldaDlg::OnReportUnreadableList),
        OnCommand<CKeldaDlg>(BN_CLICKED, IDC_SET_PASSWORD, &CKeldaDlg::OnSetPassword),
    };
    if (message == WM_DESTROY) {
        // A later start must not take this handle, or one that reuses it, for the main window.
        ClearStoredMainWindowHandle(Window());
    }
    if (message == WM_TIMER) {
        // The tick is handled here and then goes on to the dialog's own handling.
        OnTimer(wParam);
    } else if (ProcessMessageMap<CKeldaDlg>(*this, kMap, message, wParam, lParam, result)) {
        return true;
    }
    return CDialog::ProcessWindowMessage(message, wParam, lParam, result);
}

void CKeldaDlg::ShowWarning(const wchar_t* text, const wchar_t* caption, UINT type) {
    ::MessageBoxW(Window(), text, caption, type);
}

void CKeldaDlg::ShowRows(const LockListEntries& entries) {
    folderList_.ResetContent();
    for (const std::u16string& entry : entries) {
        folderList_.AddString(ToWide(entry));
    }
}

bool CKeldaDlg::SettleCommits() {
    WaitForPendingCommits();
    std::optional<LockListEntries> saved = TakeFailedCommitReport();
    if (!saved) {
        return false;
    }
    ShowRows(*saved);
    TheLockList().Replace(std::move(*saved));
    ShowWarning(kCommitFailed, L"错误", MB_OK | MB_ICONERROR);
    return true;
}

std::intptr_t CKeldaDlg::OnCommitFailed(std::uintptr_t /*wParam*/, std::intptr_t /*lParam*/) {
    SettleCommits();
    return 0;
}

std::intptr_t CKeldaDlg::OnReportUnreadableList(std::uintptr_t /*wParam*/,
                                                std::intptr_t /*lParam*/) {
    if (!unreadableListNotice_.empty()) {
        ShowWarning(unreadableListNotice_.c_str(), L"警告", MB_OK | MB_ICONWARNING);
        unreadableListNotice_.clear();
    }
    return 0;
}

bool CKeldaDlg::DriverAnswers(const wchar_t* refusal) {
    if (PingDriver()) {
        return true;
    }
    InstallAndLoadDriver();
    if (PingDriver()) {
        return true;
    }
    ShowWarning(refusal, L"错误", MB_OK | MB_ICONWARNING);
    return false;
}

void CKeldaDlg::OnAddFolder() {
    LockList& list = TheLockList();
    const AddVerdict countVerdict =
        JudgeEntryCount(static_cast<std::size_t>(std::max(folderList_.GetCount(), 0)));
    if (countVerdict != AddVerdict::kAccept) {
        ShowWarning(ToWide(RefusalText(countVerdict)).c_str(), L"警告", MB_OK);
        return;
    }
    const std::u16string chosen =
        ToAsciiUpper(ToUtf16(CurrentShellPort().BrowseForFolder(Window(), kBrowseTitle)));
    const AddVerdict folderVerdict = JudgeChosenFolder(chosen, ToUtf16(ProgramDirectory()));
    if (folderVerdict == AddVerdict::kIgnore) {
        return;
    }
    if (folderVerdict != AddVerdict::kAccept) {
        ShowWarning(ToWide(RefusalText(folderVerdict)).c_str(), L"警告", MB_OK);
        return;
    }
    if (!DriverAnswers(kAddWithoutDriver)) {
        return;
    }
    // Shown and saved as a later start reads it back.
    const std::u16string path(StoredFolderPath(chosen));
    folderList_.AddString(ToWide(path));
    list.Append(path);
    StartCommitLockListThread(list, Window());
}

void CKeldaDlg::OnDeleteFolder() {
    const int selected = folderList_.GetCurSel();
    if (selected == LB_ERR) {
        return;
    }
    if (!DriverAnswers(kDeleteWithoutDriver)) {
        return;
    }
    folderList_.DeleteString(selected);
    LockList& list = TheLockList();
    list.RemoveAt(static_cast<std::size_t>(selected));
    StartCommitLockListThread(list, Window());
}

void CKeldaDlg::OnOK() {
    // Protection goes on, or the driver goes, only behind every commit: a commit still running
    // would otherwise switch protection on again, or find its driver gone half-way.
    if (SettleCommits()) {
        return;  // the window now shows what is saved; the user decides again
    }
    if (TheLockList().Count() > 0) {
        SetDriverProtection(1);
    } else {
        if (KeepUnreadableLockListAside()) {
            UninstallDriver();
        }
        // Otherwise a list file that could not be read is still held in place: removing the
        // driver would delete it, so driver and file stay as they are.
    }
    CDialog::OnOK();
}

void CKeldaDlg::OnSetPassword() {
    CSetpassDlg setPassword(Window());
    setPassword.DoModal();
}

void CKeldaDlg::OnOpenFolder() {
    const int selected = folderList_.GetCurSel();
    if (selected == LB_ERR) {
        return;
    }
    const std::u16string row = ToUtf16(folderList_.GetText(selected));
    const std::u16string folder(TrimWindowsSpace(row));
    if (folder.empty()) {
        return;
    }
    // A commit behind the switch would protect the folder again while it is open.
    if (SettleCommits()) {
        return;
    }
    SetDriverProtection(0);
    CurrentShellPort().OpenFolder(ToWide(folder));
    ::ShowWindow(Window(), SW_HIDE);
    NotifyShellOfChange();
    ::SetTimer(Window(), kExplorerWatchTimer, kWatchPeriodMs, nullptr);
}

void CKeldaDlg::OnTimer(UINT_PTR timer) {
    if (timer == kExplorerWatchTimer && !IsLockedFolderShown()) {
        WaitForPendingCommits();
        SetDriverProtection(1);
        NotifyShellOfChange();
        // The timer ends with the window.
        EndDialog(IDCANCEL);
    }
}

std::intptr_t CKeldaDlg::OnPaint(std::uintptr_t /*wParam*/, std::intptr_t /*lParam*/) {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(Window(), &paint);
    if (::IsIconic(Window()) != FALSE) {
        ::SendMessageW(Window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT client{};
        ::GetClientRect(Window(), &client);
        const int iconWidth = ::GetSystemMetrics(SM_CXICON);
        const int iconHeight = ::GetSystemMetrics(SM_CYICON);
        const int left = (client.right - client.left - iconWidth + 1) / 2;
        const int top = (client.bottom - client.top - iconHeight + 1) / 2;
        ::DrawIcon(dc, left, top, icon_);
    }
    // Otherwise the controls paint themselves and the background is erased by the dialog.
    ::EndPaint(Window(), &paint);
    return 0;
}

std::intptr_t CKeldaDlg::OnQueryDragIcon(std::uintptr_t /*wParam*/, std::intptr_t /*lParam*/) {
    return reinterpret_cast<std::intptr_t>(icon_);
}

std::intptr_t CKeldaDlg::OnWakeMainWindow(std::uintptr_t wParam, std::intptr_t lParam) {
    if (wParam == kWakeParam && static_cast<WPARAM>(lParam) == kWakeParam) {
        ::KillTimer(Window(), kExplorerWatchTimer);
        ::ShowWindow(Window(), SW_SHOWNORMAL);
    }
    return 0;
}

}  // namespace brambolt
