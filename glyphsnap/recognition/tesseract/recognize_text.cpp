// The Linux build's recognition: the request's image goes through decoding, scaling and
// enhancement to the recognizer module on a worker thread, and the loop waits for the result.
#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "glyphsnap/recognition/image/pipeline.h"
#include "glyphsnap/recognition/recognition.h"
#include "glyphsnap/recognition/tesseract/module.h"
#include "glyphsnap/recognition/tesseract/module_location.h"

namespace glyphsnap {
namespace {

std::string LoaderError() {
    const char* text = dlerror();
    return text != nullptr ? text : "";
}

// The module beside the executable. Once loaded it stays for the life of the process: the engine
// it keeps between requests lives in it. A load that fails (short of memory, say) is tried again
// at the next request.
class RecognizerModule {
  public:
    RecognizerOrError CreateRecognizer() {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (create_ == nullptr) {
            if (auto failed = Load()) {
                return std::move(*failed);
            }
        }
        RecognitionFailure failure = RecognitionFailure::NoRecognizer;
        std::unique_ptr<TextRecognizer> recognizer(create_(&failure));
        if (!recognizer && failure != RecognitionFailure::NoRecognizer) {
            return RecognitionError{failure, {}};
        }
        return recognizer;
    }

    void End() {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (end_ != nullptr) {
            end_();
        }
    }

  private:
    std::optional<RecognitionError> Load() {
        std::array<char, 4096> executable{};
        const ssize_t length = readlink("/proc/self/exe", executable.data(), executable.size() - 1);
        if (length <= 0) {
            return RecognitionError{RecognitionFailure::RecognizerNotLoaded,
                                    "the program's own path cannot be read"};
        }
        const std::optional<std::filesystem::path> module = FindRecognizerModule(
            std::filesystem::path(std::string(executable.data(), static_cast<std::size_t>(length)))
                .parent_path());
        if (!module) {
            return RecognitionError{RecognitionFailure::RecognizerNotLoaded,
                                    std::string(kRecognizerModuleName) +
                                        " is neither beside the program nor in its library folder"};
        }
        void* handle = dlopen(module->c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            return RecognitionError{RecognitionFailure::RecognizerNotLoaded, LoaderError()};
        }
        auto create =
            reinterpret_cast<CreateRecognizerFunction>(dlsym(handle, kRecognizerFactorySymbol));
        auto end = reinterpret_cast<EndRecognizersFunction>(dlsym(handle, kRecognizerEndSymbol));
        if (create == nullptr || end == nullptr) {
            RecognitionError error{RecognitionFailure::RecognizerNotLoaded, LoaderError()};
            dlclose(handle);
            return error;
        }
        create_ = create;
        end_ = end;
        return std::nullopt;
    }

    std::mutex mutex_;
    CreateRecognizerFunction create_ = nullptr;
    EndRecognizersFunction end_ = nullptr;
};

RecognizerModule& TheRecognizerModule() {
    static RecognizerModule module;
    return module;
}

}  // namespace

std::future<RecognitionOutcome> RecognizeTextAsync(std::string image) {
    return std::async(std::launch::async, [image = std::move(image)] {
        return RecognizeImageText(image, [] { return TheRecognizerModule().CreateRecognizer(); });
    });
}

void EndRecognition() {
    TheRecognizerModule().End();
}

}  // namespace glyphsnap
