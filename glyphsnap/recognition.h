// Text recognition of a request's image: the operation the request loop starts and waits for.
#pragma once

#include <future>
#include <string>
#include <variant>

namespace glyphsnap {

enum class RecognitionFailure {
    NotBase64,          // the image text does not decode
    UndecodableImage,   // no decoder recognises the bytes, or they are damaged or truncated
    ImageTooLarge,      // the decoded image would exceed the memory bound
    RecognitionFailed,  // the recognizer failed on a decoded image
    NoRecognizer,       // no recognizer exists for the user's languages
    Unavailable,        // this build has no recognizer at all
};

struct RecognitionError {
    RecognitionFailure failure = RecognitionFailure::RecognitionFailed;
};

// The recognised text in UTF-16 (every line ending in CR LF), or why there is none.
using RecognitionOutcome = std::variant<std::u16string, RecognitionError>;

// Starts recognising the text of `image` (Base64, optionally behind a data-URL header). Standard
// exceptions (allocation failures) are delivered through the future.
std::future<RecognitionOutcome> RecognizeTextAsync(std::string image);

// The reply a failed recognition gets.
std::string RecognitionErrorReply(const RecognitionError& error);

}  // namespace glyphsnap
