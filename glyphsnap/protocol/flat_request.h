// A fast reader for the requests callers really send: one flat object whose members are plain
// strings. It never judges a payload invalid; whatever it does not take is left to the JSON
// library, and whatever it takes the library would read the same way.
#pragma once

#include <optional>
#include <string_view>

namespace glyphsnap {

struct FlatRequest {
    std::optional<std::string_view> action;
    std::optional<std::string_view> image;
};

// The "action" and "image" members of a payload that is valid JSON consisting of an object whose
// member values are all strings without escapes. Views point into `payload`. Nothing for any other
// payload, valid or not.
std::optional<FlatRequest> ReadFlatRequest(std::string_view payload);

}  // namespace glyphsnap
