// What a JSON request may cost before the JSON library is let near it.
#pragma once

#include <cstddef>
#include <string_view>

namespace glyphsnap {

// Requests are flat objects; anything nested deeper than this is refused before parsing, because
// the JSON library holds every level in memory and a frame of brackets would exhaust it.
inline constexpr std::size_t kMaxJsonNesting = 512;

// The library spends some hundred bytes on each value, more than thirty times the text it was
// read from: a frame of "{}," would cost gigabytes. A request holds a handful of values.
inline constexpr std::size_t kMaxJsonValues = 100'000;

struct JsonLimits {
    std::size_t nesting = kMaxJsonNesting;
    std::size_t values = kMaxJsonValues;
};

enum class JsonBound {
    Within,
    TooDeep,        // more than `nesting` arrays or objects inside each other
    TooManyValues,  // possibly more than `values` values
};

// Checks a JSON text against the limits without parsing it. Values are counted from above: one
// for the whole text, one for each opening bracket and one for each comma, outside strings. The
// text need not be valid JSON.
JsonBound CheckJsonBounds(std::string_view text, JsonLimits limits = {});

// True when the JSON text opens more than `limit` arrays or objects inside each other. Brackets
// inside strings do not count. The text need not be valid JSON.
bool ExceedsJsonNesting(std::string_view text, std::size_t limit = kMaxJsonNesting);

}  // namespace glyphsnap
