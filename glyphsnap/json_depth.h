#pragma once

#include <cstddef>
#include <string_view>

namespace glyphsnap {

// Requests are flat objects; anything nested deeper than this is refused before parsing, because
// the JSON library holds every level in memory and a frame of brackets would exhaust it.
inline constexpr std::size_t kMaxJsonNesting = 512;

// True when the JSON text opens more than `limit` arrays or objects inside each other. Brackets
// inside strings do not count. The text need not be valid JSON.
bool ExceedsJsonNesting(std::string_view text, std::size_t limit = kMaxJsonNesting);

}  // namespace glyphsnap
