#include "glyphsnap/edit/edit_image.h"

#include <cstdio>

#include "glyphsnap/platform/platform.h"
#include "glyphsnap/protocol/frame_io.h"
#include "glyphsnap/protocol/image_text.h"
#include "glyphsnap/protocol/replies.h"

namespace glyphsnap {

void EditImage(std::string_view image, std::ostream& out) {
    const std::string_view text = StripDataUrlPrefix(TrimImageText(image));
    const std::vector<std::uint8_t> bytes = DecodeImageText(text);
    if (bytes.empty()) {
        WriteMessage(out, kBase64FailureReply);
        return;
    }

    std::optional<EditImageFile> file = OpenEditImageFile();
    if (!file) {
        WriteMessage(out, kCacheFileFailureReply);
        return;
    }
    // A failed write still opens the paint program: the user sees what arrived.
    (void)std::fwrite(bytes.data(), 1, bytes.size(), file->stream.get());
    file->stream.reset();

    StartPaintProgram(file->path);
    WriteMessage(out, BuildSuccessReply(kEditSuccessText));
}

}  // namespace glyphsnap
