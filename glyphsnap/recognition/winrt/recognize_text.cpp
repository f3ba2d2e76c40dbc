// Text recognition on Windows: the platform's Base64 decoder, in-memory stream, bitmap decoder and
// OCR engine, called at their binary interface. The operation runs on a thread of its own in the
// process's multithreaded apartment and blocks it at each awaited call until the platform's
// completion handler fires or the recognition's time is up; every platform object belongs to the
// operation and is released when it ends.
#include <windows.h>

#include <chrono>
#include <future>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "glyphsnap/protocol/image_text.h"
#include "glyphsnap/recognition/enhance.h"
#include "glyphsnap/recognition/recognition.h"
#include "glyphsnap/recognition/scale.h"
#include "glyphsnap/recognition/text_lines.h"
#include "glyphsnap/recognition/winrt/runtime.h"
#include "glyphsnap/text/utf.h"

namespace glyphsnap {
namespace {

using namespace winrt;
using Deadline = std::chrono::steady_clock::time_point;

// A failed step of the operation, and the reply it gets.
struct StepFailed {
    RecognitionFailure failure;
};

// Runs `step`; a platform failure in it becomes `failure`.
template <typename Step>
auto During(RecognitionFailure failure, Step&& step) {
    try {
        return step();
    } catch (const RuntimeCallError&) {
        throw StepFailed{failure};
    }
}

std::wstring ToUtf16(std::string_view text) {
    const std::u16string converted = Utf16FromUtf8(text);
    return {converted.begin(), converted.end()};
}

// The static sides of the classes the operation uses. A platform without any of them (no
// Windows Runtime, or one without OCR, as under Wine) has no recognizer for the user.
struct RuntimeClasses {
    Ref<ICryptographicBufferStatics> cryptographicBuffer;
    Ref<IDataWriterFactory> dataWriter;
    Ref<IBitmapDecoderStatics> bitmapDecoder;
    Ref<IOcrEngineStatics> ocrEngine;
};

RuntimeClasses GetRuntimeClasses(const RuntimeFunctions& runtime) {
    return During(RecognitionFailure::NoRecognizer, [&] {
        RuntimeClasses classes;
        classes.cryptographicBuffer =
            GetFactory<ICryptographicBufferStatics>(runtime, kCryptographicBufferClass);
        classes.dataWriter = GetFactory<IDataWriterFactory>(runtime, kDataWriterClass);
        classes.bitmapDecoder = GetFactory<IBitmapDecoderStatics>(runtime, kBitmapDecoderClass);
        classes.ocrEngine = GetFactory<IOcrEngineStatics>(runtime, kOcrEngineClass);
        return classes;
    });
}

// The decoded bytes in a new in-memory stream, read from its first byte. The writer stays with
// the stream until the operation ends: releasing it early must not take the stream's bytes along.
struct ImageStream {
    Ref<IRandomAccessStream> stream;
    Ref<IDataWriter> writer;
};

ImageStream StreamOfBase64(const RuntimeFunctions& runtime, const RuntimeClasses& classes,
                           std::string_view image, Deadline deadline) {
    const HString text(runtime, ToUtf16(StripDataUrlPrefix(image)));
    Ref<IBuffer> bytes;
    During(RecognitionFailure::NotBase64, [&] {
        Check(classes.cryptographicBuffer->DecodeFromBase64String(text.Get(), bytes.Put()));
    });
    return During(RecognitionFailure::RecognitionFailed, [&] {
        ImageStream decoded;
        decoded.stream = Activate<IRandomAccessStream>(runtime, kInMemoryRandomAccessStreamClass);
        Ref<IOutputStream> output;
        Check(decoded.stream.As(output));
        Check(classes.dataWriter->CreateDataWriter(output.Get(), decoded.writer.Put()));
        Check(decoded.writer->WriteBuffer(bytes.Get()));
        Ref<IAsyncOperation<UINT32>> store;
        Check(decoded.writer->StoreAsync(store.Put()));
        (void)Await(store.Get(), deadline);  // the stored count is not needed
        Check(decoded.stream->Seek(0));
        return decoded;
    });
}

// The image as BGRA8 pixels: whole, or resampled by the decoder to `scaled`.
Ref<ISoftwareBitmap> BitmapOf(const RuntimeFunctions& runtime, const Ref<IBitmapDecoder>& decoder,
                              const std::optional<OcrBitmapSize>& scaled, Deadline deadline) {
    Ref<IBitmapFrameWithSoftwareBitmap> frame;
    Check(decoder.As(frame));
    Ref<IAsyncOperation<ISoftwareBitmap*>> conversion;
    if (!scaled) {
        Check(frame->GetSoftwareBitmapConvertedAsync(
            BitmapPixelFormat::Bgra8, BitmapAlphaMode::Premultiplied, conversion.Put()));
    } else {
        auto transform = Activate<IBitmapTransform>(runtime, kBitmapTransformClass);
        Check(transform->put_ScaledWidth(scaled->width));
        Check(transform->put_ScaledHeight(scaled->height));
        Check(transform->put_InterpolationMode(BitmapInterpolationMode::Linear));
        Check(frame->GetSoftwareBitmapTransformedAsync(
            BitmapPixelFormat::Bgra8, BitmapAlphaMode::Straight, transform.Get(),
            ExifOrientationMode::IgnoreExifOrientation, ColorManagementMode::DoNotColorManage,
            conversion.Put()));
    }
    return Await(conversion.Get(), deadline);
}

// The enhancement in the bitmap's own buffer; the lock ends with the buffer's and the reference's
// release.
void EnhanceBitmap(ISoftwareBitmap* bitmap) {
    Ref<IBitmapBuffer> buffer;
    Check(bitmap->LockBuffer(BitmapBufferAccessMode::ReadWrite, buffer.Put()));
    Ref<IMemoryBuffer> memory;
    Check(buffer.As(memory));
    Ref<IMemoryBufferReference> reference;
    Check(memory->CreateReference(reference.Put()));
    Ref<IMemoryBufferByteAccess> access;
    Check(reference.As(access));
    BYTE* pixels = nullptr;
    UINT32 capacity = 0;
    Check(access->GetBuffer(&pixels, &capacity));
    if (pixels != nullptr) {
        EnhanceForOcr(std::span<std::uint8_t>(pixels, capacity), kOcrContrast);
    }
}

// The words of every line, in the engine's order.
std::vector<OcrLine> LinesOf(const RuntimeFunctions& runtime, IOcrResult* result) {
    Ref<IVectorView<IOcrLine*>> lines;
    Check(result->get_Lines(lines.Put()));
    UINT32 lineCount = 0;
    Check(lines->get_Size(&lineCount));
    std::vector<OcrLine> text(lineCount);
    for (UINT32 i = 0; i < lineCount; ++i) {
        Ref<IOcrLine> line;
        Check(lines->GetAt(i, line.Put()));
        Ref<IVectorView<IOcrWord*>> words;
        Check(line->get_Words(words.Put()));
        UINT32 wordCount = 0;
        Check(words->get_Size(&wordCount));
        text[i].words.reserve(wordCount);
        for (UINT32 j = 0; j < wordCount; ++j) {
            Ref<IOcrWord> word;
            Check(words->GetAt(j, word.Put()));
            HString wordText(runtime);
            Check(word->get_Text(wordText.Put()));
            text[i].words.push_back(wordText.Units());
        }
    }
    return text;
}

std::u16string Recognize(const RuntimeFunctions& runtime, std::string_view image,
                         Deadline deadline) {
    const RuntimeClasses classes = GetRuntimeClasses(runtime);
    const ImageStream stream = StreamOfBase64(runtime, classes, image, deadline);

    Ref<IBitmapDecoder> decoder;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    During(RecognitionFailure::UndecodableImage, [&] {
        Ref<IAsyncOperation<IBitmapDecoder*>> creation;
        Check(classes.bitmapDecoder->CreateAsync(stream.stream.Get(), creation.Put()));
        decoder = Await(creation.Get(), deadline);
        Ref<IBitmapFrame> frame;
        Check(decoder.As(frame));
        Check(frame->get_PixelWidth(&width));
        Check(frame->get_PixelHeight(&height));
    });

    Ref<IOcrEngine> engine;
    During(RecognitionFailure::NoRecognizer,
           [&] { Check(classes.ocrEngine->TryCreateFromUserProfileLanguages(engine.Put())); });
    if (!engine) {
        throw StepFailed{RecognitionFailure::NoRecognizer};
    }
    std::uint32_t maxDimension = 0;
    During(RecognitionFailure::RecognitionFailed,
           [&] { Check(classes.ocrEngine->get_MaxImageDimension(&maxDimension)); });

    const float scale = ComputeOcrScale(width, height, maxDimension);
    const Ref<ISoftwareBitmap> bitmap = During(RecognitionFailure::UndecodableImage, [&] {
        return BitmapOf(runtime, decoder, ScaledOcrSize(width, height, scale), deadline);
    });

    return During(RecognitionFailure::RecognitionFailed, [&] {
        EnhanceBitmap(bitmap.Get());
        Ref<IAsyncOperation<IOcrResult*>> recognition;
        Check(engine->RecognizeAsync(bitmap.Get(), recognition.Put()));
        const Ref<IOcrResult> result = Await(recognition.Get(), deadline);
        return AssembleOcrText(LinesOf(runtime, result.Get()));
    });
}

// Joins the thread to the process's multithreaded apartment for as long as it recognises.
class ApartmentScope {
  public:
    ApartmentScope() : joined_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ApartmentScope(const ApartmentScope&) = delete;
    ApartmentScope& operator=(const ApartmentScope&) = delete;
    ~ApartmentScope() {
        if (joined_) {
            ::CoUninitialize();
        }
    }

  private:
    bool joined_;
};

// Standard exceptions (allocation failures) leave through the future to the request loop.
RecognitionOutcome RecognizeWithin(std::string_view image, Deadline deadline) {
    const ApartmentScope apartment;
    try {
        const RuntimeFunctions* runtime = LoadRuntimeFunctions();
        if (runtime == nullptr) {
            return RecognitionError{RecognitionFailure::NoRecognizer};
        }
        return Recognize(*runtime, image, deadline);
    } catch (const StepFailed& failed) {
        return RecognitionError{failed.failure};
    } catch (const OperationTimedOut&) {
        return RecognitionError{RecognitionFailure::RecognitionTimedOut};
    } catch (const RuntimeCallError&) {
        return RecognitionError{RecognitionFailure::RecognitionFailed};
    }
}

}  // namespace

// On a thread of its own, so that the request loop's reply limit holds whatever the platform does.
std::future<RecognitionOutcome> RecognizeTextAsync(std::string image) {
    const Deadline deadline = std::chrono::steady_clock::now() + kRecognitionTimeLimit;
    return std::async(std::launch::async, [image = std::move(image), deadline] {
        return RecognizeWithin(image, deadline);
    });
}

// Each recognition releases everything it held when it ends: nothing is kept between requests.
void EndRecognition() {}

}  // namespace glyphsnap
