#include "request_handler.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "edit_image.h"
#include "frame_io.h"
#include "json_depth.h"
#include "replies.h"
#include "utf.h"

namespace glyphsnap {
namespace {

using nlohmann::json;

// The string a member holds. Any other type throws the library's own type error, whose text the
// caller receives in the error reply.
const std::string& StringOf(const json& value) {
    if (!value.is_string()) {
        (void)value.get<std::string>();  // throws type_error.302 naming the type
    }
    return value.get_ref<const std::string&>();
}

void Dispatch(const std::string& payload, RequestActions& actions, std::ostream& out) {
    if (ExceedsJsonNesting(payload)) {
        WriteMessage(out, kInvalidJsonReply);
        return;
    }
    // A parse that does not throw refuses exactly what the library's strict validity test refuses,
    // so the payload is read once instead of twice.
    const json request = json::parse(payload, nullptr, /*allow_exceptions=*/false);
    if (request.is_discarded()) {
        WriteMessage(out, kInvalidJsonReply);
        return;
    }
    if (!request.is_object()) {
        return;
    }

    const auto action = request.find("action");
    const bool editRequested = action != request.end() && StringOf(*action) == "edit_image";
    const auto image = request.find("image");
    if (image == request.end()) {
        return;
    }
    if (editRequested) {
        actions.EditImage(StringOf(*image), out);
        return;
    }

    const RecognitionOutcome outcome = actions.RecognizeTextAsync(StringOf(*image)).get();
    if (const auto* error = std::get_if<RecognitionError>(&outcome)) {
        WriteMessage(out, RecognitionErrorReply(*error));
        return;
    }
    WriteMessage(out, BuildSuccessReply(Utf16ToUtf8(std::get<std::u16string>(outcome))));
}

}  // namespace

void SystemActions::EditImage(const std::string& image, std::ostream& out) {
    glyphsnap::EditImage(image, out);
}

std::future<RecognitionOutcome> SystemActions::RecognizeTextAsync(const std::string& image) {
    return glyphsnap::RecognizeTextAsync(image);
}

void HandleRequest(const std::string& payload, RequestActions& actions, std::ostream& out) {
    try {
        Dispatch(payload, actions, out);
    } catch (const std::exception& e) {
        WriteMessage(out, BuildInternalErrorReply(e.what()));
    }
}

}  // namespace glyphsnap
