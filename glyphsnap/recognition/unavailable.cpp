// The recognizer of builds that have no text-recognition engine: every request is answered with
// an error reply, never a crash.
#include "glyphsnap/recognition/recognition.h"

namespace glyphsnap {

std::future<RecognitionOutcome> RecognizeTextAsync(std::string /*image*/) {
    std::promise<RecognitionOutcome> result;
    result.set_value(RecognitionError{RecognitionFailure::Unavailable});
    return result.get_future();
}

void EndRecognition() {}

}  // namespace glyphsnap
