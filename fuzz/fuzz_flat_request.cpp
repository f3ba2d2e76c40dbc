// Whatever the fast request reader takes, the JSON library must accept and read the same way.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "glyphsnap/protocol/flat_request.h"

namespace {

void ExpectSameMember(const nlohmann::json& request, const char* name,
                      const std::optional<std::string_view>& fast) {
    const auto member = request.find(name);
    if (member == request.end()) {
        if (fast) {
            std::abort();
        }
        return;
    }
    if (!fast || !member->is_string() || member->get_ref<const std::string&>() != *fast) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string payload(reinterpret_cast<const char*>(data), size);
    const auto fast = glyphsnap::ReadFlatRequest(payload);
    if (!fast) {
        return 0;
    }
    const auto request = nlohmann::json::parse(payload, nullptr, false);
    if (request.is_discarded() || !request.is_object()) {
        std::abort();
    }
    for (const auto& member : request.items()) {
        if (!member.value().is_string()) {
            std::abort();
        }
    }
    ExpectSameMember(request, "action", fast->action);
    ExpectSameMember(request, "image", fast->image);
    return 0;
}
