// The Linux build's recognition: the request's image goes through decoding, scaling and
// enhancement to the recognizer module on a worker thread, and the loop waits for the result.
#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

#include "image_pipeline.h"
#include "recognition.h"
#include "recognizer_module.h"
#include "recognizer_module_location.h"

namespace glyphsnap {
namespace {

// Loads the module of the executable once. It stays loaded for the life of the process: the
// engines it keeps between requests live in it.
CreateRecognizerFunction RecognizerFactory() {
    static const CreateRecognizerFunction factory = []() -> CreateRecognizerFunction {
        std::array<char, 4096> executable{};
        const ssize_t length = readlink("/proc/self/exe", executable.data(), executable.size() - 1);
        if (length <= 0) {
            return nullptr;
        }
        const std::optional<std::filesystem::path> module = FindRecognizerModule(
            std::filesystem::path(std::string(executable.data(), static_cast<std::size_t>(length)))
                .parent_path());
        if (!module) {
            return nullptr;
        }
        void* handle = dlopen(module->c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            return nullptr;
        }
        return reinterpret_cast<CreateRecognizerFunction>(dlsym(handle, kRecognizerFactorySymbol));
    }();
    return factory;
}

std::unique_ptr<TextRecognizer> CreateRecognizer() {
    const CreateRecognizerFunction create = RecognizerFactory();
    return std::unique_ptr<TextRecognizer>(create != nullptr ? create() : nullptr);
}

}  // namespace

std::future<RecognitionOutcome> RecognizeTextAsync(std::string image) {
    return std::async(std::launch::async, [image = std::move(image)] {
        return RecognizeImageText(image, &CreateRecognizer);
    });
}

}  // namespace glyphsnap
