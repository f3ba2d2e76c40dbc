// Text recognition of a request's image: the operation the request loop starts and waits for.
#pragma once

#include <future>
#include <string>
#include <utility>
#include <variant>

namespace glyphsnap {

enum class RecognitionFailure {
    NotBase64,             // the image text does not decode
    UndecodableImage,      // no decoder recognises the bytes, or they are damaged or truncated
    ImageTooLarge,         // the decoded image would exceed the memory bound
    ImageTooComplex,       // the file holds more parts than any image needs: decoding would not end
    RecognitionFailed,     // the recognizer failed on a decoded image
    RecognitionTimedOut,   // the recognizer passed its time limit and was stopped
    NoRecognizer,          // no recognizer exists for the user's languages
    RecognizerNotLoaded,   // the recognizer's module could not be loaded (tried again next time)
    RecognizerNotStarted,  // the recognizer did not start (tried again next time)
    Unavailable,           // this build has no recognizer at all
};

struct RecognitionError {
    RecognitionError() = default;
    explicit RecognitionError(RecognitionFailure why, std::string what = {})
        : failure(why), detail(std::move(what)) {}

    RecognitionFailure failure = RecognitionFailure::RecognitionFailed;
    std::string detail;  // what the system said, where it says something
};

// The recognised text in UTF-16 (every line ending in CR LF), or why there is none.
using RecognitionOutcome = std::variant<std::u16string, RecognitionError>;

// Starts recognising the text of `image` (Base64, optionally behind a data-URL header). Standard
// exceptions (allocation failures) are delivered through the future.
std::future<RecognitionOutcome> RecognizeTextAsync(std::string image);

// The reply a failed recognition gets.
std::string RecognitionErrorReply(const RecognitionError& error);

// Ends the recognizers kept between requests, while the libraries they use are still whole.
// Called once, after the last request.
void EndRecognition();

}  // namespace glyphsnap
