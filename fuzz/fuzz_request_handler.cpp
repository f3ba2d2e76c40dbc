// Request payload in, reply bytes out. The actions decode the image text for real but touch no
// files and start no programs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "glyphsnap/protocol/frame_io.h"
#include "glyphsnap/protocol/image_text.h"
#include "glyphsnap/protocol/replies.h"
#include "glyphsnap/serve/request_handler.h"
#include "glyphsnap/text/base64.h"

namespace {

class DecodingActions final : public glyphsnap::RequestActions {
  public:
    void EditImage(std::string_view image, std::ostream& out) override {
        const auto bytes =
            glyphsnap::DecodeBase64(glyphsnap::StripDataUrlPrefix(glyphsnap::TrimImageText(image)));
        glyphsnap::WriteMessage(out, bytes && !bytes->empty()
                                         ? glyphsnap::BuildSuccessReply("edited")
                                         : std::string(glyphsnap::kBase64FailureReply));
    }
    std::future<glyphsnap::RecognitionOutcome> RecognizeTextAsync(std::string_view image) override {
        std::promise<glyphsnap::RecognitionOutcome> result;
        result.set_value(
            std::u16string(image.begin(), image.begin() + std::min<std::size_t>(image.size(), 8)));
        return result.get_future();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string payload(reinterpret_cast<const char*>(data), size);
    DecodingActions actions;
    std::ostringstream out;
    glyphsnap::HandleRequest(payload, actions, out);

    // At most one reply, always a whole frame.
    const std::string replies = out.str();
    if (!replies.empty()) {
        if (replies.size() < 4) {
            std::abort();
        }
        const auto length = static_cast<std::size_t>(static_cast<unsigned char>(replies[0])) |
                            static_cast<std::size_t>(static_cast<unsigned char>(replies[1])) << 8 |
                            static_cast<std::size_t>(static_cast<unsigned char>(replies[2])) << 16 |
                            static_cast<std::size_t>(static_cast<unsigned char>(replies[3])) << 24;
        if (replies.size() != length + 4) {
            std::abort();
        }
    }
    return 0;
}
