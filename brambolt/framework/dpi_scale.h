// Lengths of the windows built in code are logical pixels at 96 dpi, scaled to the screen.
#pragma once

namespace brambolt {

// MulDiv(length, dpi, 96): rounded to the nearest pixel, where dpi is the screen's horizontal
// logical resolution (LOGPIXELSX); the same factor serves horizontal and vertical lengths.
[[nodiscard]] int ScaleForDpi(int length) noexcept;

}  // namespace brambolt
