#include "brambolt/framework/dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <array>

#include "brambolt/base/unique_handle.h"
#include "brambolt/framework/app.h"
#include "brambolt/framework/message_map.h"

namespace brambolt {

namespace {

// Messages whose answer a dialog procedure returns directly instead of through DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
        case WM_INITDIALOG:
        case WM_QUERYDRAGICON:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            return true;
        default:
            return false;
    }
}

bool IsSysLink(HWND window) {
    std::array<wchar_t, 32> className{};
    return ::GetClassNameW(window, className.data(), static_cast<int>(className.size())) > 0 &&
           ::lstrcmpiW(className.data(), WC_LINK) == 0;
}

// The framework's hyperlink behaviour: a click on (or Enter in) any SysLink of a dialog opens
// the link's address in the default browser.
bool OpenClickedLink(LPARAM lParam) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr || (header->code != NM_CLICK && header->code != NM_RETURN) ||
        !IsSysLink(header->hwndFrom)) {
        return false;
    }
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
    const auto* link = reinterpret_cast<const NMLINK*>(lParam);
    if (link->item.szUrl[0] != L'\0') {
        // The shell reports failures itself; the dialog has nothing to add.
        ::ShellExecuteW(nullptr, L"open", link->item.szUrl, nullptr, nullptr, SW_SHOWNORMAL);
    }
    return true;
}

// Centres the dialog on its owner, or on the work area of its monitor when it has no owner that
// shows (none, hidden or minimised), kept within that work area.
void CenterOnOwnerOrScreen(HWND dialog) {
    RECT window{};
    ::GetWindowRect(dialog, &window);
    const HWND owner = ::GetWindow(dialog, GW_OWNER);
    const bool ownerShows =
        owner != nullptr && ::IsWindowVisible(owner) != FALSE && ::IsIconic(owner) == FALSE;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(ownerShows ? owner : dialog, MONITOR_DEFAULTTONEAREST),
                      &monitor);
    RECT area = monitor.rcWork;
    if (ownerShows) {
        ::GetWindowRect(owner, &area);
    }
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    LONG left = area.left + (area.right - area.left - width) / 2;
    LONG top = area.top + (area.bottom - area.top - height) / 2;
    const RECT& work = monitor.rcWork;
    left = std::max(work.left, std::min(left, work.right - width));
    top = std::max(work.top, std::min(top, work.bottom - height));
    ::SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    endedEarly_ = false;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // The dialog is owned here, for the length of the modal loop; `window_`, set when the dialog
    // initialises, borrows it for the message handlers, and stays set while it is destroyed.
    UniqueHwnd dialog(::CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId_), parent_,
                                           &CDialog::DialogProc, reinterpret_cast<LPARAM>(this)));
    if (!dialog) {
        window_ = nullptr;
        return -1;
    }
    const bool ownerDisabled = parent_ != nullptr && ::IsWindowEnabled(parent_) != FALSE;
    if (ownerDisabled) {
        ::EnableWindow(parent_, FALSE);
    }
    INT_PTR result = earlyResult_;
    if (!endedEarly_) {
        ::ShowWindow(window_, SW_SHOW);
        result = loop_.Run(window_);
    }
    if (ownerDisabled) {
        ::EnableWindow(parent_, TRUE);
        ::SetActiveWindow(parent_);
    }
    dialog.reset();
    window_ = nullptr;
    return result;
}

void CDialog::EndDialog(INT_PTR result) noexcept {
    if (loop_.Running()) {
        loop_.End(result);
    } else {
        endedEarly_ = true;
        earlyResult_ = result;
    }
}

bool CDialog::UpdateData(bool saveAndValidate) {
    DataExchange exchange(window_, saveAndValidate);
    DoDataExchange(exchange);
    return !exchange.Failed();
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void CDialog::DoDataExchange(DataExchange& /*exchange*/) {}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                   std::intptr_t& result) {
    static constexpr MessageMapEntry<CDialog> kMap[] = {
        OnCommand<CDialog>(BN_CLICKED, IDOK, &CDialog::OnOK),
        OnCommand<CDialog>(BN_CLICKED, IDCANCEL, &CDialog::OnCancel),
    };
    if (ProcessMessageMap<CDialog>(*this, kMap, message, wParam, lParam, result)) {
        return true;
    }
    if (message == WM_NOTIFY && OpenClickedLink(lParam)) {
        result = 0;
        return true;
    }
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
        self = reinterpret_cast<CDialog*>(lParam);
        self->window_ = window;
        ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        RECT before{};
        ::GetWindowRect(window, &before);
        const BOOL result = self->OnInitDialog();
        RECT after{};
        // A dialog that did not place itself during its initialisation opens centred.
        if (::IsWindow(window) != FALSE && ::GetWindowRect(window, &after) != FALSE &&
            ::EqualRect(&before, &after) != FALSE) {
            CenterOnOwnerOrScreen(window);
        }
        return result;
    }
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
    self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    return self->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    std::intptr_t result = 0;
    if (!ProcessWindowMessage(message, wParam, lParam, result)) {
        return FALSE;
    }
    if (AnswersDirectly(message)) {
        return result;
    }
    ::SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace brambolt
