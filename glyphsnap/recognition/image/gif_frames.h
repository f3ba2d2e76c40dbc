// The GIF decoder holds every frame of a file in memory at once, each at the size its own
// descriptor declares, whatever the logical screen says, and it keeps every extension block in an
// array that grows by one for each: this walk measures both beforehand.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace glyphsnap {

// More frames and extension blocks than real files hold (a long animation has a few thousand).
// The decoder's work grows with the square of their number, and it reads a file twice: a file of
// 16 MiB of one-byte comment blocks took it 20 seconds.
inline constexpr std::uint64_t kMaxGifBlocks = 65'536;

struct GifMeasure {
    std::uint64_t framePixels = 0;  // width x height summed over the image descriptors
    std::uint64_t blocks = 0;       // image descriptors and extension data sub-blocks
};

// The measure of a GIF file, or nothing when the bytes do not start with a GIF signature. A file
// cut short counts what is declared before the cut.
std::optional<GifMeasure> MeasureGif(std::span<const std::uint8_t> bytes);

}  // namespace glyphsnap
