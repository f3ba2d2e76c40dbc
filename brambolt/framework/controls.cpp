#include "brambolt/framework/controls.h"

namespace brambolt {

int CListBox::AddString(std::wstring_view text) const {
    const std::wstring terminated(text);
    return static_cast<int>(
        ::SendMessageW(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(terminated.c_str())));
}

void CListBox::ResetContent() const {
    ::SendMessageW(window_, LB_RESETCONTENT, 0, 0);
}

int CListBox::DeleteString(int index) const {
    return static_cast<int>(
        ::SendMessageW(window_, LB_DELETESTRING, static_cast<WPARAM>(index), 0));
}

int CListBox::GetCount() const {
    return static_cast<int>(::SendMessageW(window_, LB_GETCOUNT, 0, 0));
}

int CListBox::GetCurSel() const {
    return static_cast<int>(::SendMessageW(window_, LB_GETCURSEL, 0, 0));
}

std::wstring CListBox::GetText(int index) const {
    const LRESULT length = ::SendMessageW(window_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(window_, LB_GETTEXT, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

}  // namespace brambolt
