#include "brambolt/driver/driver_registration_message.h"

#include "brambolt/framework/message_box.h"

namespace brambolt {

void ShowDriverMessage(const std::wstring& text, UINT type) {
    AppMessageBox(nullptr, text, type);
}

}  // namespace brambolt
