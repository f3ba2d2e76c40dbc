#include "brambolt/framework/data_exchange.h"

namespace brambolt {

HWND DataExchange::Item(int controlId) {
    if (failed_) {
        return nullptr;
    }
    HWND item = ::GetDlgItem(dialog_, controlId);
    if (item == nullptr) {
        failed_ = true;
    }
    return item;
}

void DataExchange::Text(int controlId, std::wstring& value) {
    HWND item = Item(controlId);
    if (item == nullptr) {
        return;
    }
    if (saveAndValidate_) {
        value = WindowText(item);
    } else if (::SetWindowTextW(item, value.c_str()) == FALSE) {
        failed_ = true;
        ::SetFocus(item);
    }
}

void DataExchange::Control(int controlId, CWndControl& control) {
    HWND item = Item(controlId);
    if (item != nullptr) {
        control.Attach(item);
    }
}

}  // namespace brambolt
