// Scaling of the lengths of windows built in code by the screen's resolution.
#pragma once

#include "brambolt/framework/dpi_scale_rules.h"

namespace brambolt {

// A length in logical pixels at 96 dpi scaled by the horizontal resolution (LOGPIXELSX) of the
// screen's device context: MulDiv(length, dpi, 96).
[[nodiscard]] int ScaleForDpi(int length) noexcept;

}  // namespace brambolt
