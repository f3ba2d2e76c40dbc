#include "glyphsnap/protocol/json_depth.h"

#include <limits>

namespace glyphsnap {

JsonBound CheckJsonBounds(std::string_view text, JsonLimits limits) {
    std::size_t depth = 0;
    std::size_t values = 1;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        switch (c) {
            case '"':
                inString = true;
                break;
            case '[':
            case '{':
                if (++depth > limits.nesting) {
                    return JsonBound::TooDeep;
                }
                if (++values > limits.values) {
                    return JsonBound::TooManyValues;
                }
                break;
            case ']':
            case '}':
                if (depth > 0) {
                    --depth;
                }
                break;
            case ',':
                if (++values > limits.values) {
                    return JsonBound::TooManyValues;
                }
                break;
            default:
                break;
        }
    }
    return JsonBound::Within;
}

bool ExceedsJsonNesting(std::string_view text, std::size_t limit) {
    return CheckJsonBounds(text,
                           {.nesting = limit, .values = std::numeric_limits<std::size_t>::max()}) ==
           JsonBound::TooDeep;
}

}  // namespace glyphsnap
