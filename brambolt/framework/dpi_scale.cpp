#include "brambolt/framework/dpi_scale.h"

#include <windows.h>

#include "brambolt/base/unique_handle.h"

namespace brambolt {

int ScaleForDpi(int length) noexcept {
    const ScopedWindowDc screen(nullptr);
    const int dpi = screen.get() != nullptr ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    return ::MulDiv(length, dpi, 96);
}

}  // namespace brambolt
