// Lengths of the windows built in code are logical pixels at 96 dpi. A length scales by the
// screen's horizontal resolution, the same factor for horizontal and vertical lengths.
#pragma once

namespace brambolt {

inline constexpr int kLogicalDpi = 96;

// The length at the given resolution as MulDiv(length, dpi, 96) gives it: rounded to the nearest
// integer, halves away from zero; -1 when the resolution is not positive or the result does not
// fit an int.
[[nodiscard]] int ScaleForDpi(int length, int dpi) noexcept;

}  // namespace brambolt
