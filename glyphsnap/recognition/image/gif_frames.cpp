#include "glyphsnap/recognition/image/gif_frames.h"

#include <cstddef>
#include <cstring>

namespace glyphsnap {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kScreenDescriptorSize = 7;
constexpr std::size_t kImageDescriptorSize = 9;  // after the 0x2C introducer
constexpr std::uint8_t kColorTableFlag = 0x80;
constexpr std::uint8_t kImageIntroducer = 0x2C;
constexpr std::uint8_t kExtensionIntroducer = 0x21;

class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Has(std::size_t count) const { return bytes_.size() - offset_ >= count; }
    std::uint8_t Byte(std::size_t at) const { return bytes_[offset_ + at]; }
    std::uint16_t Word(std::size_t at) const {
        return static_cast<std::uint16_t>(Byte(at) | (Byte(at + 1) << 8));
    }
    // False when fewer than `count` bytes remain; the reader then stands at the end.
    bool Skip(std::size_t count) {
        if (!Has(count)) {
            offset_ = bytes_.size();
            return false;
        }
        offset_ += count;
        return true;
    }
    // Skips a chain of data sub-blocks up to and including its zero-length terminator, counting
    // the sub-blocks before it.
    bool SkipSubBlocks(std::uint64_t& count) {
        while (Has(1)) {
            const std::size_t length = Byte(0);
            if (!Skip(1 + length)) {
                return false;
            }
            if (length == 0) {
                return true;
            }
            ++count;
        }
        return false;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
};

std::size_t ColorTableSize(std::uint8_t packedFields) {
    if ((packedFields & kColorTableFlag) == 0) {
        return 0;
    }
    return std::size_t{3} << ((packedFields & 0x07) + 1);
}

}  // namespace

std::optional<GifMeasure> MeasureGif(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), "GIF", 3) != 0) {
        return std::nullopt;
    }
    Reader reader(bytes);
    GifMeasure measure;
    if (!reader.Skip(kHeaderSize) || !reader.Has(kScreenDescriptorSize)) {
        return measure;
    }
    const std::size_t globalTable = ColorTableSize(reader.Byte(4));
    if (!reader.Skip(kScreenDescriptorSize) || !reader.Skip(globalTable)) {
        return measure;
    }
    // Image data sub-blocks are decoded as they come and cost nothing beyond their bytes.
    std::uint64_t imageDataBlocks = 0;
    while (reader.Has(1)) {
        const std::uint8_t introducer = reader.Byte(0);
        reader.Skip(1);
        if (introducer == kImageIntroducer) {
            if (!reader.Has(kImageDescriptorSize)) {
                break;
            }
            measure.framePixels += std::uint64_t{reader.Word(4)} * reader.Word(6);
            ++measure.blocks;
            const std::size_t localTable = ColorTableSize(reader.Byte(8));
            // The minimum code size byte precedes the image data.
            if (!reader.Skip(kImageDescriptorSize) || !reader.Skip(localTable) || !reader.Skip(1) ||
                !reader.SkipSubBlocks(imageDataBlocks)) {
                break;
            }
        } else if (introducer == kExtensionIntroducer) {
            if (!reader.Skip(1) || !reader.SkipSubBlocks(measure.blocks)) {
                break;
            }
        } else {
            break;  // the trailer, or bytes the decoder refuses as well
        }
    }
    return measure;
}

}  // namespace glyphsnap
