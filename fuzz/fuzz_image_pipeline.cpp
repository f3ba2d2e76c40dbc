// Image bytes through decoding, scaling and enhancement, with a recognizer that only counts and
// checks what it is handed: every bitmap must be whole, within the size limit and grey.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "glyphsnap/recognition/image/pipeline.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string Base64(const std::uint8_t* data, std::size_t size) {
    std::string text;
    text.reserve((size + 2) / 3 * 4);
    for (std::size_t i = 0; i < size; i += 3) {
        const std::uint32_t n = (std::uint32_t{data[i]} << 16) |
                                (i + 1 < size ? std::uint32_t{data[i + 1]} << 8 : 0) |
                                (i + 2 < size ? std::uint32_t{data[i + 2]} : 0);
        text += kAlphabet[n >> 18];
        text += kAlphabet[(n >> 12) & 63];
        text += i + 1 < size ? kAlphabet[(n >> 6) & 63] : '=';
        text += i + 2 < size ? kAlphabet[n & 63] : '=';
    }
    return text;
}

class CountingRecognizer final : public glyphsnap::TextRecognizer {
  public:
    CountingRecognizer(std::uint32_t maxDimension, int& calls)
        : maxDimension_(maxDimension), calls_(calls) {}

    std::uint32_t MaxImageDimension() const override { return maxDimension_; }

    std::variant<std::vector<glyphsnap::OcrLine>, glyphsnap::RecognitionFailure> Recognize(
        const glyphsnap::BgraBitmap& bitmap) override {
        ++calls_;
        if (bitmap.pixels.size() != std::size_t{bitmap.width} * bitmap.height * 4) {
            std::abort();
        }
        // An unscaled image may pass the limit by the tolerated one percent.
        const std::uint64_t tolerated = std::uint64_t{maxDimension_} * 102 / 100 + 1;
        if (bitmap.width > tolerated || bitmap.height > tolerated) {
            std::abort();
        }
        for (std::size_t i = 0; i + 3 < bitmap.pixels.size(); i += 4) {
            if (bitmap.pixels[i] != bitmap.pixels[i + 1] ||
                bitmap.pixels[i] != bitmap.pixels[i + 2]) {
                std::abort();
            }
        }
        return std::vector<glyphsnap::OcrLine>{{{u"w"}}};
    }

  private:
    std::uint32_t maxDimension_;
    int& calls_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The limit varies with the input so that both enlargement and shrinking are reached.
    const std::uint32_t maxDimension =
        64 + static_cast<std::uint32_t>((size * 2654435761u) % 10000);
    int calls = 0;
    const glyphsnap::RecognitionOutcome outcome = glyphsnap::RecognizeImageText(
        Base64(data, size),
        [&] { return std::make_unique<CountingRecognizer>(maxDimension, calls); });
    // A recognition ran exactly when the outcome is text.
    if (std::holds_alternative<std::u16string>(outcome) != (calls == 1) || calls > 1) {
        std::abort();
    }
    return 0;
}
