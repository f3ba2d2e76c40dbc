#include "brambolt/framework/modal_window.h"

namespace brambolt {

bool CModalWindow::CreateModalWindow(const WindowClassSpec& windowClass, const WindowSpec& spec) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, windowClass.name, &existing) == FALSE) {
        WNDCLASSEXW description{};
        description.cbSize = sizeof(description);
        description.style = windowClass.style;
        description.lpfnWndProc = &CModalWindow::StaticWindowProc;
        description.hInstance = instance;
        description.hCursor = ::LoadCursorW(nullptr, windowClass.cursor);
        description.hbrBackground =
            // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(windowClass.backgroundColor + 1));
        description.lpszClassName = windowClass.name;
        if (::RegisterClassExW(&description) == 0) {
            return false;
        }
    }
    HWND created =
        ::CreateWindowExW(spec.exStyle, windowClass.name, spec.caption, spec.style, spec.x, spec.y,
                          spec.width, spec.height, spec.owner, nullptr, instance, this);
    window_.reset(created);
    return window_.valid();
}

INT_PTR CModalWindow::RunModalLoop() {
    if (!window_) {
        return -1;
    }
    return loop_.Run(window_.get());
}

BOOL CModalWindow::OnCommand(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return FALSE;
}

LRESULT CModalWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && OnCommand(wParam, lParam) != FALSE) {
        return 0;
    }
    HWND window = window_ ? window_.get() : creatingWindow_;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK CModalWindow::StaticWindowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<CModalWindow*>(create->lpCreateParams);
        self->creatingWindow_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Win32 hands pointers over as integers
    auto* self = reinterpret_cast<CModalWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->creatingWindow_ = nullptr;
        if (self->window_.get() == window) {
            // The window is already going; the holder must not destroy it a second time.
            self->window_.release();
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->WindowProc(message, wParam, lParam);
}

}  // namespace brambolt
