#include "brambolt/framework/dpi_scale.h"

#include <windows.h>

#include "brambolt/base/unique_handle.h"

namespace brambolt {

int ScaleForDpi(int length) noexcept {
    const ScopedWindowDc screen(nullptr);
    const int dpi = screen.get() != nullptr ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    // Without a screen resolution the logical lengths are the best guess.
    return ScaleForDpi(length, dpi > 0 ? dpi : kLogicalDpi);
}

}  // namespace brambolt
