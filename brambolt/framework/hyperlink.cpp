#include "brambolt/framework/hyperlink.h"

#include <string>

#include "brambolt/base/text_conversion.h"
#include "brambolt/framework/controls.h"
#include "brambolt/framework/hyperlink_rules.h"

namespace brambolt {

bool CLinkCtrl::Attach(HWND dialog, int controlId, std::wstring_view urlPrefix,
                       std::wstring_view target) {
    window_ = ::GetDlgItem(dialog, controlId);
    if (window_ == nullptr) {
        return false;
    }
    const std::u16string address = LinkAddress(ToUtf16(urlPrefix), ToUtf16(target));
    const std::wstring markup = ToWide(LinkMarkup(ToUtf16(WindowText(window_)), address));
    return ::SetWindowTextW(window_, markup.c_str()) != FALSE;
}

}  // namespace brambolt
