#include "glyphsnap/protocol/image_text.h"

namespace glyphsnap {
namespace {

constexpr std::string_view kTrimSet{"\n\r \"\\", 5};

}  // namespace

std::string_view StripDataUrlPrefix(std::string_view text) {
    const auto comma = text.find(',');
    return comma == std::string_view::npos ? text : text.substr(comma + 1);
}

std::string_view TrimImageText(std::string_view text) {
    const auto first = text.find_first_not_of(kTrimSet);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kTrimSet);
    return text.substr(first, last - first + 1);
}

}  // namespace glyphsnap
