#include "glyphsnap/recognition/image/decode.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <mutex>

#include "glyphsnap/recognition/image/decode_jpeg.h"
#include "glyphsnap/recognition/image/gif_frames.h"
#include "glyphsnap/recognition/image/pix.h"

namespace glyphsnap {
namespace {

// The format sniffer reads the first 12 bytes unconditionally.
constexpr std::size_t kSniffedBytes = 12;

// Leptonica reports every refused file on standard error; refusals are answered in the reply.
void SilenceDecoderMessages() {
    static std::once_flag once;
    std::call_once(once, [] { (void)setMsgSeverity(L_SEVERITY_NONE); });
}

bool FitsMemoryBound(std::uint64_t width, std::uint64_t height, std::uint64_t bytesPerPixel) {
    const std::uint64_t pixels = width * height;  // both below 2^32: no overflow
    return pixels <= kMaxDecodedImageBytes / std::max<std::uint64_t>(bytesPerPixel, 4);
}

UniquePix DecodePix(std::span<const std::uint8_t> bytes) {
    l_int32 format = IFF_UNKNOWN;
    if (findFileFormatBuffer(bytes.data(), &format) != 0) {
        return nullptr;
    }
    if (format == IFF_JFIF_JPEG) {
        return DecodeJpeg(bytes);
    }
    return UniquePix(pixReadMem(bytes.data(), bytes.size()));
}

// 32 bits per pixel. A colour map goes first: the depth conversion of 1-bit images ignores it.
UniquePix ToRgba(UniquePix pix) {
    if (PIXCMAP* colours = pixGetColormap(pix.get()); colours != nullptr) {
        l_int32 opaque = 1;
        (void)pixcmapIsOpaque(colours, &opaque);
        pix.reset(pixRemoveColormap(pix.get(),
                                    opaque ? REMOVE_CMAP_TO_FULL_COLOR : REMOVE_CMAP_WITH_ALPHA));
    }
    if (!pix || pixGetDepth(pix.get()) == 32) {
        return pix;
    }
    return UniquePix(pixConvertTo32(pix.get()));
}

std::uint8_t Premultiply(std::uint32_t colour, std::uint32_t alpha) {
    return static_cast<std::uint8_t>((colour * alpha + 127) / 255);
}

}  // namespace

std::variant<ImageHeader, RecognitionFailure> ReadImageHeader(std::span<const std::uint8_t> bytes) {
    SilenceDecoderMessages();
    if (bytes.size() < kSniffedBytes) {
        return RecognitionFailure::UndecodableImage;
    }
    // Leptonica reads a GIF's header by decoding every frame, so frames are measured first.
    if (const auto gif = MeasureGif(bytes)) {
        if (!FitsMemoryBound(gif->framePixels, 1, 4)) {
            return RecognitionFailure::ImageTooLarge;
        }
        if (gif->blocks > kMaxGifBlocks) {
            return RecognitionFailure::ImageTooComplex;
        }
    }
    l_int32 format = IFF_UNKNOWN;
    l_int32 width = 0;
    l_int32 height = 0;
    l_int32 bitsPerSample = 0;
    l_int32 samplesPerPixel = 0;
    if (pixReadHeaderMem(bytes.data(), bytes.size(), &format, &width, &height, &bitsPerSample,
                         &samplesPerPixel, nullptr) != 0 ||
        width <= 0 || height <= 0 || bitsPerSample <= 0 || samplesPerPixel <= 0) {
        return RecognitionFailure::UndecodableImage;
    }
    const std::uint64_t decoderBytesPerPixel =
        static_cast<std::uint64_t>(samplesPerPixel) * ((bitsPerSample + 7) / 8);
    if (!FitsMemoryBound(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height),
                         decoderBytesPerPixel)) {
        return RecognitionFailure::ImageTooLarge;
    }
    return ImageHeader{static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
}

std::optional<BgraBitmap> DecodeImageBgra(std::span<const std::uint8_t> bytes, AlphaMode alpha) {
    SilenceDecoderMessages();
    if (bytes.size() < kSniffedBytes) {
        return std::nullopt;
    }
    UniquePix decoded = DecodePix(bytes);
    if (!decoded || pixGetWidth(decoded.get()) <= 0 || pixGetHeight(decoded.get()) <= 0 ||
        !FitsMemoryBound(static_cast<std::uint64_t>(pixGetWidth(decoded.get())),
                         static_cast<std::uint64_t>(pixGetHeight(decoded.get())), 4)) {
        return std::nullopt;
    }
    UniquePix rgba = ToRgba(std::move(decoded));
    if (!rgba) {
        return std::nullopt;
    }

    BgraBitmap bitmap;
    bitmap.width = static_cast<std::uint32_t>(pixGetWidth(rgba.get()));
    bitmap.height = static_cast<std::uint32_t>(pixGetHeight(rgba.get()));
    bitmap.pixels.resize(std::size_t{bitmap.width} * bitmap.height * 4);
    const bool hasAlpha = pixGetSpp(rgba.get()) == 4;
    const bool premultiply = hasAlpha && alpha == AlphaMode::Premultiplied;
    const l_uint32* rows = pixGetData(rgba.get());
    const std::size_t wordsPerRow = static_cast<std::size_t>(pixGetWpl(rgba.get()));
    std::uint8_t* out = bitmap.pixels.data();
    for (std::uint32_t y = 0; y < bitmap.height; ++y) {
        const l_uint32* row = rows + y * wordsPerRow;
        for (std::uint32_t x = 0; x < bitmap.width; ++x) {
            // A 32-bit pixel holds red in its top byte and alpha in its bottom byte.
            const l_uint32 word = row[x];
            const std::uint32_t red = word >> 24;
            const std::uint32_t green = (word >> 16) & 0xFF;
            const std::uint32_t blue = (word >> 8) & 0xFF;
            const std::uint32_t opacity = hasAlpha ? word & 0xFF : 0xFF;
            out[0] = premultiply ? Premultiply(blue, opacity) : static_cast<std::uint8_t>(blue);
            out[1] = premultiply ? Premultiply(green, opacity) : static_cast<std::uint8_t>(green);
            out[2] = premultiply ? Premultiply(red, opacity) : static_cast<std::uint8_t>(red);
            out[3] = static_cast<std::uint8_t>(opacity);
            out += 4;
        }
    }
    return bitmap;
}

}  // namespace glyphsnap
