// Actions that record what the request handler asked of them.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "glyphsnap/protocol/frame_io.h"
#include "glyphsnap/serve/request_handler.h"
#include "glyphsnap/tests/protocol/frame_bytes.h"

namespace glyphsnap::testing {

class RecordingActions final : public RequestActions {
  public:
    std::vector<std::string> edits;
    std::vector<std::string> recognitions;
    RecognitionOutcome nextOutcome = std::u16string(u"AB\r\n");
    bool recognitionFinishes = true;  // false: the recognition never completes

    void EditImage(std::string_view image, std::ostream& out) override {
        edits.emplace_back(image);
        WriteMessage(out, "edited");
    }
    std::future<RecognitionOutcome> RecognizeTextAsync(std::string_view image) override {
        recognitions.emplace_back(image);
        std::promise<RecognitionOutcome>& result = pending_.emplace_back();
        if (recognitionFinishes) {
            result.set_value(nextOutcome);
        }
        return result.get_future();
    }

  private:
    std::vector<std::promise<RecognitionOutcome>> pending_;
};

}  // namespace glyphsnap::testing
