// The GIF decoder holds every frame of a file in memory at once, each at the size its own
// descriptor declares, whatever the logical screen says; this walk finds that total beforehand.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace glyphsnap {

// The sum of width x height over the image descriptors of a GIF file, or nothing when the bytes
// do not start with a GIF signature. A file cut short counts the frames declared before the cut.
std::optional<std::uint64_t> GifFramePixelTotal(std::span<const std::uint8_t> bytes);

}  // namespace glyphsnap
