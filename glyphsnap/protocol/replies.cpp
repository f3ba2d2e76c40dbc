#include "glyphsnap/protocol/replies.h"

#include <nlohmann/json.hpp>

namespace glyphsnap {

std::string BuildReply(std::string_view status, std::string_view data) {
    nlohmann::json reply;
    reply["status"] = status;
    reply["data"] = data;
    // A message from the system (a path in a loader's error) may carry bytes that are not UTF-8.
    return reply.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string BuildSuccessReply(std::string_view data) {
    return BuildReply("success", data);
}

std::string BuildErrorReply(std::string_view data) {
    return BuildReply("error", data);
}

std::string BuildInternalErrorReply(std::string_view description) {
    std::string text(kInternalErrorPrefix);
    text += description;
    nlohmann::json reply;
    reply["status"] = "error";
    reply["data"] = text;
    // An exception's text may carry bytes that are not UTF-8; the reply must still go out.
    return reply.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace glyphsnap
