#include "brambolt/framework/modal_loop.h"

namespace brambolt {

INT_PTR ModalLoop::Run(HWND window) {
    running_ = true;
    endRequested_ = false;
    result_ = IDCANCEL;
    MSG message{};
    while (!endRequested_) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) {
            result_ = -1;
            break;
        }
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            result_ = IDCANCEL;
            break;
        }
        if (window != nullptr && ::IsDialogMessageW(window, &message)) {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    running_ = false;
    return result_;
}

void ModalLoop::End(INT_PTR result) noexcept {
    result_ = result;
    endRequested_ = true;
    // Wakes GetMessageW when End is called from outside a message handler.
    ::PostMessageW(nullptr, WM_NULL, 0, 0);
}

}  // namespace brambolt
