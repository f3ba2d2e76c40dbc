// One request in, at most one reply out.
#pragma once

#include <chrono>
#include <future>
#include <iosfwd>
#include <string>
#include <string_view>

#include "glyphsnap/recognition/recognition.h"

namespace glyphsnap {

// The two actions a request can select. The program uses SystemActions; tests and fuzzers put
// their own in its place.
class RequestActions {
  public:
    virtual ~RequestActions() = default;
    // Stores the image and opens it for editing; writes its own reply to `out`.
    virtual void EditImage(std::string_view image, std::ostream& out) = 0;
    virtual std::future<RecognitionOutcome> RecognizeTextAsync(std::string_view image) = 0;
};

class SystemActions final : public RequestActions {
  public:
    void EditImage(std::string_view image, std::ostream& out) override;
    std::future<RecognitionOutcome> RecognizeTextAsync(std::string_view image) override;
};

// Answers one request payload on `out`. Standard exceptions never escape: they become the
// built internal-error reply. A recognition that has not finished within `recognitionReplyLimit`
// is answered as timed out; the call returns once its work has ended.
void HandleRequest(std::string_view payload, RequestActions& actions, std::ostream& out,
                   std::chrono::milliseconds recognitionReplyLimit = kRecognitionReplyLimit);

}  // namespace glyphsnap
