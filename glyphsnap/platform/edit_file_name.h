// Names of the files the edit action stores images in, the same on every platform.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace glyphsnap {

inline constexpr std::string_view kEditCacheFileName = "vorlin_ocr_edit_cache.png";

// How many fallback names one edit tries before it gives up: quick edits in one millisecond, and
// other Glyphsnap processes sharing the folder, each take one.
inline constexpr unsigned kFallbackNameAttempts = 10'000;

// The fallback file's name for a tick count: "vorlin_ocr_edit_<tick>.png" first, then, when that
// exists, "vorlin_ocr_edit_<tick>_1.png", "vorlin_ocr_edit_<tick>_2.png" and so on.
std::string FallbackEditFileName(std::uint64_t tickCount, unsigned attempt);

}  // namespace glyphsnap
