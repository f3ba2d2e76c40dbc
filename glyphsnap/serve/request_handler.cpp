#include "glyphsnap/serve/request_handler.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "glyphsnap/edit/edit_image.h"
#include "glyphsnap/protocol/flat_request.h"
#include "glyphsnap/protocol/frame_io.h"
#include "glyphsnap/protocol/json_depth.h"
#include "glyphsnap/protocol/replies.h"
#include "glyphsnap/text/utf.h"

namespace glyphsnap {
namespace {

using nlohmann::json;

// The string a member holds. Any other type throws the library's own type error, whose text the
// caller receives in the error reply.
std::string_view StringOf(const json& value) {
    if (!value.is_string()) {
        (void)value.get<std::string>();  // throws type_error.302 naming the type
    }
    return value.get_ref<const std::string&>();
}

void Serve(const FlatRequest& request, RequestActions& actions, std::ostream& out,
           std::chrono::milliseconds replyLimit) {
    if (!request.image) {
        return;
    }
    if (request.action == "edit_image") {
        actions.EditImage(*request.image, out);
        return;
    }
    std::future<RecognitionOutcome> recognition = actions.RecognizeTextAsync(*request.image);
    if (recognition.wait_for(replyLimit) != std::future_status::ready) {
        // The recognizer is in a step it cannot leave early. The caller hears now; the next
        // request is read once the work has ended, when the future lets go of it.
        WriteMessage(
            out, RecognitionErrorReply(RecognitionError{RecognitionFailure::RecognitionTimedOut}));
        return;
    }
    const RecognitionOutcome outcome = recognition.get();
    if (const auto* error = std::get_if<RecognitionError>(&outcome)) {
        WriteMessage(out, RecognitionErrorReply(*error));
        return;
    }
    WriteMessage(out, BuildSuccessReply(Utf16ToUtf8(std::get<std::u16string>(outcome))));
}

void ServeThroughJsonLibrary(std::string_view payload, RequestActions& actions, std::ostream& out,
                             std::chrono::milliseconds replyLimit) {
    switch (CheckJsonBounds(payload)) {
        case JsonBound::Within:
            break;
        case JsonBound::TooDeep:
            WriteMessage(out, kInvalidJsonReply);
            return;
        case JsonBound::TooManyValues:
            // Valid or not, the request would cost more memory than the machine may have; the
            // caller learns why instead of losing the program.
            WriteMessage(out,
                         BuildInternalErrorReply("request exceeds the limit of " +
                                                 std::to_string(kMaxJsonValues) + " JSON values"));
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
    // "action" is read before "image", so its type error comes first.
    FlatRequest members;
    if (const auto action = request.find("action"); action != request.end()) {
        members.action = StringOf(*action);
    }
    if (const auto image = request.find("image"); image != request.end()) {
        members.image = StringOf(*image);
    }
    Serve(members, actions, out, replyLimit);
}

}  // namespace

void SystemActions::EditImage(std::string_view image, std::ostream& out) {
    glyphsnap::EditImage(image, out);
}

std::future<RecognitionOutcome> SystemActions::RecognizeTextAsync(std::string_view image) {
    return glyphsnap::RecognizeTextAsync(std::string(image));
}

void HandleRequest(std::string_view payload, RequestActions& actions, std::ostream& out,
                   std::chrono::milliseconds recognitionReplyLimit) {
    try {
        // Real requests are flat objects of strings; they skip the general parser, which would
        // copy a large image character by character.
        if (const auto flat = ReadFlatRequest(payload)) {
            Serve(*flat, actions, out, recognitionReplyLimit);
        } else {
            ServeThroughJsonLibrary(payload, actions, out, recognitionReplyLimit);
        }
    } catch (const std::exception& e) {
        WriteMessage(out, BuildInternalErrorReply(e.what()));
    }
}

}  // namespace glyphsnap
