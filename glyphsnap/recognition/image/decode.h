// Image decoding for recognition: the format is found from the bytes themselves, and the declared
// size is checked before any pixel is decoded.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <variant>

#include "glyphsnap/recognition/image/bitmap.h"
#include "glyphsnap/recognition/recognition.h"

namespace glyphsnap {

// The most memory a decoded image may take: its pixels as BGRA8, or in the decoder's own sample
// layout when that is wider. A few hundred bytes of a compressed file can declare nearly 2 GiB.
inline constexpr std::uint64_t kMaxDecodedImageBytes = std::uint64_t{256} << 20;

struct ImageHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The size the bytes declare, read without decoding the pixels. UndecodableImage when no decoder
// recognises the bytes, ImageTooLarge when decoding would pass kMaxDecodedImageBytes,
// ImageTooComplex when the file holds more parts than the decoder can get through in good time.
std::variant<ImageHeader, RecognitionFailure> ReadImageHeader(std::span<const std::uint8_t> bytes);

enum class AlphaMode {
    Premultiplied,  // colour multiplied by alpha
    Straight,       // colour as stored
};

// The first image of the bytes as a BGRA8 bitmap of its full size (opaque when it has no alpha),
// or nothing when the bytes are damaged or truncated. Call it on bytes ReadImageHeader accepted.
std::optional<BgraBitmap> DecodeImageBgra(std::span<const std::uint8_t> bytes, AlphaMode alpha);

}  // namespace glyphsnap
