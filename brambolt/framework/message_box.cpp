#include "brambolt/framework/message_box.h"

#include <string>

#include "brambolt/framework/app.h"
#include "brambolt/framework/message_box_rules.h"

namespace brambolt {

int AppMessageBox(HWND owner, std::wstring_view text, UINT type) {
    const CWinApp* application = AfxGetApp();
    const std::wstring caption = application != nullptr ? application->AppName() : std::wstring();
    const std::wstring terminated(text);
    return ::MessageBoxW(owner, terminated.c_str(), caption.c_str(), AppMessageBoxType(type));
}

}  // namespace brambolt
