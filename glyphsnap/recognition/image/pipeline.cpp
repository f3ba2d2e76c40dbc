#include "glyphsnap/recognition/image/pipeline.h"

#include <utility>

#include "glyphsnap/protocol/image_text.h"
#include "glyphsnap/recognition/enhance.h"
#include "glyphsnap/recognition/image/decode.h"
#include "glyphsnap/recognition/image/resample.h"
#include "glyphsnap/recognition/scale.h"
#include "glyphsnap/text/base64.h"

namespace glyphsnap {

RecognitionOutcome RecognizeImageText(std::string_view image,
                                      const RecognizerFactory& createRecognizer) {
    std::optional<std::vector<std::uint8_t>> bytes = DecodeBase64(StripDataUrlPrefix(image));
    if (!bytes) {
        return RecognitionError{RecognitionFailure::NotBase64};
    }

    const auto header = ReadImageHeader(*bytes);
    if (const auto* failure = std::get_if<RecognitionFailure>(&header)) {
        return RecognitionError{*failure};
    }
    const auto [w, h] = std::get<ImageHeader>(header);

    RecognizerOrError created = createRecognizer();
    if (auto* error = std::get_if<RecognitionError>(&created)) {
        return std::move(*error);
    }
    const std::unique_ptr<TextRecognizer> recognizer =
        std::move(std::get<std::unique_ptr<TextRecognizer>>(created));
    if (!recognizer) {
        return RecognitionError{RecognitionFailure::NoRecognizer};
    }

    const float scale = ComputeOcrScale(w, h, recognizer->MaxImageDimension());
    const std::optional<OcrBitmapSize> scaledSize = ScaledOcrSize(w, h, scale);
    std::optional<BgraBitmap> bitmap =
        DecodeImageBgra(*bytes, scaledSize ? AlphaMode::Straight : AlphaMode::Premultiplied);
    if (!bitmap || bitmap->width != w || bitmap->height != h) {
        return RecognitionError{RecognitionFailure::UndecodableImage};
    }
    bytes.reset();  // the compressed bytes are not needed past decoding
    if (scaledSize) {
        bitmap = ResampleLinear(*bitmap, scaledSize->width, scaledSize->height);
    }

    EnhanceForOcr(bitmap->pixels, kOcrContrast);

    const auto lines = recognizer->Recognize(*bitmap);
    if (const auto* failure = std::get_if<RecognitionFailure>(&lines)) {
        return RecognitionError{*failure};
    }
    return AssembleOcrText(std::get<std::vector<OcrLine>>(lines));
}

}  // namespace glyphsnap
