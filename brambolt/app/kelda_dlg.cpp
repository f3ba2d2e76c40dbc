#include "brambolt/app/kelda_dlg.h"

#include "brambolt/app/app_messages.h"
#include "brambolt/app/vendor_site.h"
#include "brambolt/app/window_handle_store.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/driver_registration.h"
#include "brambolt/folders/lock_list_startup.h"
#include "brambolt/framework/message_map.h"

namespace brambolt {

CKeldaDlg::CKeldaDlg(HWND parent)
    : CDialog(IDD, parent),
      icon_(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

CKeldaDlg::~CKeldaDlg() = default;

BOOL CKeldaDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    noticePlaceholder_ = ::GetDlgItem(Window(), IDC_NOTICE_PLACEHOLDER);
    noticePanel_.Start(Window(), noticePlaceholder_);
    updateLink_.Attach(Window(), IDC_UPDATE_LINK, L"https://",
                       std::wstring(kVendorHost) + L"/?frombrambolt");
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
    const HWND list = ::GetDlgItem(Window(), IDC_FOLDER_LIST);
    for (const std::wstring& row : loaded.listBoxRows) {
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
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
        OnMessage<CKeldaDlg>(WM_WAKE_MAIN_WINDOW, &CKeldaDlg::OnWakeMainWindow),
    };
    return ProcessMessageMap<CKeldaDlg>(*this, kMap, message, wParam, lParam, result) ||
           CDialog::ProcessWindowMessage(message, wParam, lParam, result);
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
