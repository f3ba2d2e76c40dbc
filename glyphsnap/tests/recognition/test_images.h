// Images made at test time: with Leptonica in memory, or rendered text from the project's tool.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace glyphsnap::testing {

struct Rgba {
    std::uint8_t r, g, b, a;
};

// A width x height image of one colour, encoded by Leptonica in `format` (an IFF_* value).
// With alpha below 255 it is written with an alpha channel (PNG only).
std::vector<std::uint8_t> EncodedImage(std::uint32_t width, std::uint32_t height, Rgba colour,
                                       int format);

// The same, left half black and right half white, opaque.
std::vector<std::uint8_t> EncodedHalves(std::uint32_t width, std::uint32_t height, int format);

// A real PNG whose header declares width x height, with a correct checksum, and pixels of 8 x 8.
std::vector<std::uint8_t> PngDeclaring(std::uint32_t width, std::uint32_t height);

// A GIF file with a comment extension of `count` one-byte sub-blocks put before its trailer.
std::vector<std::uint8_t> WithCommentBlocks(std::vector<std::uint8_t> gif, std::size_t count);

std::string Base64(const std::vector<std::uint8_t>& bytes);

struct RenderOptions {
    int fontSize = 32;
    int padding = -1;  // the tool's default
    int width = 0;     // 0: fit the text
    int height = 0;
    float spacing = 0;         // distance between lines in font sizes; 0: the tool's default
    std::string colours = {};  // "INK,PAPER" as the tool takes them; empty: black on white
};

// Renders `lines` with tools/render_text.py into `file` (format from its extension) and returns
// the file's bytes.
std::vector<std::uint8_t> RenderedText(const std::filesystem::path& file,
                                       const std::vector<std::string>& lines,
                                       const RenderOptions& options = {});

// A fresh folder under the temporary folder, removed with the object.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace glyphsnap::testing
