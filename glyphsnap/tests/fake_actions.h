// Actions that record what the request handler asked of them.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "frame_io.h"
#include "request_handler.h"

namespace glyphsnap::testing {

class RecordingActions final : public RequestActions {
  public:
    std::vector<std::string> edits;
    std::vector<std::string> recognitions;
    RecognitionOutcome nextOutcome = std::u16string(u"AB\r\n");

    void EditImage(std::string_view image, std::ostream& out) override {
        edits.emplace_back(image);
        WriteMessage(out, "edited");
    }
    std::future<RecognitionOutcome> RecognizeTextAsync(std::string_view image) override {
        recognitions.emplace_back(image);
        std::promise<RecognitionOutcome> result;
        result.set_value(nextOutcome);
        return result.get_future();
    }
};

// Splits framed bytes into their payloads; nothing when the bytes are not whole frames.
inline std::optional<std::vector<std::string>> SplitFrames(std::string_view bytes) {
    std::vector<std::string> payloads;
    while (!bytes.empty()) {
        if (bytes.size() < 4) {
            return std::nullopt;
        }
        std::size_t length = 0;
        for (int i = 3; i >= 0; --i) {
            length = (length << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
        }
        if (bytes.size() - 4 < length) {
            return std::nullopt;
        }
        payloads.emplace_back(bytes.substr(4, length));
        bytes.remove_prefix(4 + length);
    }
    return payloads;
}

inline std::string Frame(std::string_view payload) {
    std::string framed;
    const auto length = static_cast<std::uint32_t>(payload.size());
    for (int i = 0; i < 4; ++i) {
        framed += static_cast<char>((length >> (8 * i)) & 0xFF);
    }
    framed += payload;
    return framed;
}

}  // namespace glyphsnap::testing
