// Text recognition of a request's image: the operation the request loop starts and waits for.
#pragma once

#include <chrono>
#include <future>
#include <string>
#include <utility>
#include <variant>

namespace glyphsnap {

enum class RecognitionFailure {
    NotBase64,             // the image text does not decode
    UndecodableImage,      // no decoder recognises the bytes, or they are damaged or truncated
    ImageTooLarge,         // the decoded image would exceed the memory bound
    ImageTooComplex,       // more parts than any image needs: decoding would take minutes
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

// How long one recognition may run. The recognizer stops itself when the time is up; steps it
// cannot leave early (Tesseract's layout analysis takes half a minute on the largest pages) are
// covered by the request loop, which answers RecognitionTimedOut at the reply limit at the latest.
// Measured on the project's two-core machine with one recognition thread, whole requests: the
// benchmark's 1280 x 720 page of 20 lines takes 1 to 1.7 s, a 1920 x 1080 screen of dense 16-pixel
// text 7 to 10 s, a 3840 x 2160 one nearly two minutes. Thirty seconds leave three times the
// densest full-HD screen and cut only pages far beyond the benchmark's.
inline constexpr std::chrono::milliseconds kRecognitionTimeLimit{30'000};
inline constexpr std::chrono::milliseconds kRecognitionReplyLimit =
    kRecognitionTimeLimit + std::chrono::milliseconds{5'000};

// Starts recognising the text of `image` (Base64, optionally behind a data-URL header). Standard
// exceptions (allocation failures) are delivered through the future.
std::future<RecognitionOutcome> RecognizeTextAsync(std::string image);

// The reply a failed recognition gets.
std::string RecognitionErrorReply(const RecognitionError& error);

// Ends the recognizers kept between requests, while the libraries they use are still whole.
// Called once, after the last request.
void EndRecognition();

}  // namespace glyphsnap
