// Planes drawn in a test, rectangle by rectangle, and the text of read lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "glyphsnap/recognition/tesseract/layout/planes.h"
#include "glyphsnap/recognition/tesseract/layout/words.h"

namespace glyphsnap::test {

// A `width` x `height` plane of the level `paper`, drawn on a rectangle at a time.
class DrawnPlane {
  public:
    DrawnPlane(std::uint32_t width, std::uint32_t height, std::uint8_t paper)
        : plane_{width, height, std::vector<std::uint8_t>(std::size_t{width} * height, paper)} {}

    // The pixels of `area` (right and bottom one past) set to `level`.
    DrawnPlane& Fill(const WordBox& area, std::uint8_t level) {
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                At(x, y) = level;
            }
        }
        return *this;
    }

    std::uint8_t& At(int x, int y) {
        return plane_
            .levels[static_cast<std::size_t>(y) * plane_.width + static_cast<std::size_t>(x)];
    }

    GreyPlane& Plane() { return plane_; }

  private:
    GreyPlane plane_;
};

// Each line's words joined by spaces.
inline std::vector<std::u16string> TextsOf(const std::vector<ReadLine>& lines) {
    std::vector<std::u16string> texts;
    texts.reserve(lines.size());
    for (const ReadLine& line : lines) {
        std::u16string text;
        for (const ReadWord& word : line) {
            text += (text.empty() ? u"" : u" ") + word.text;
        }
        texts.push_back(text);
    }
    return texts;
}

}  // namespace glyphsnap::test
