// Declared sizes are checked before decoding, so that a small file cannot demand gigabytes.
#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "glyphsnap/recognition/image/decode.h"
#include "glyphsnap/recognition/image/gif_frames.h"
#include "glyphsnap/tests/recognition/test_images.h"

namespace glyphsnap {
namespace {

using testing::EncodedHalves;
using testing::PngDeclaring;

std::vector<std::uint8_t> JpegDeclaring(std::uint16_t width, std::uint16_t height) {
    std::vector<std::uint8_t> jpeg = EncodedHalves(16, 16, IFF_JFIF_JPEG);
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {  // start of frame: length, precision, h, w
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no start-of-frame marker";
    return jpeg;
}

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

void AppendWord(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

// A GIF of a 10 x 10 screen whose frames declare the given sizes, each with a tiny data block.
std::vector<std::uint8_t> GifWithFrames(
    const std::vector<std::pair<std::uint16_t, std::uint16_t>>& frames) {
    std::vector<std::uint8_t> gif = Bytes("GIF89a");
    AppendWord(gif, 10);
    AppendWord(gif, 10);
    gif.insert(gif.end(), {0x80, 0, 0});  // global colour table of two entries
    gif.insert(gif.end(), {0, 0, 0, 255, 255, 255});
    gif.insert(gif.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0});  // graphic control extension
    for (const auto& [width, height] : frames) {
        gif.push_back(0x2C);
        AppendWord(gif, 0);
        AppendWord(gif, 0);
        AppendWord(gif, width);
        AppendWord(gif, height);
        gif.push_back(0);
        gif.insert(gif.end(), {2, 2, 0x4C, 0x01, 0});  // code size, one sub-block, terminator
    }
    gif.push_back(0x3B);
    return gif;
}

std::optional<RecognitionFailure> HeaderFailure(const std::vector<std::uint8_t>& bytes) {
    const auto header = ReadImageHeader(bytes);
    if (const auto* failure = std::get_if<RecognitionFailure>(&header)) {
        return *failure;
    }
    return std::nullopt;
}

TEST(ImageHeader, ReportsTheDeclaredSize) {
    const auto header = ReadImageHeader(EncodedHalves(321, 123, IFF_PNG));
    ASSERT_TRUE(std::holds_alternative<ImageHeader>(header));
    EXPECT_EQ(std::get<ImageHeader>(header).width, 321u);
    EXPECT_EQ(std::get<ImageHeader>(header).height, 123u);
}

TEST(ImageHeader, RefusesDeclaredSizesAboveTheMemoryBound) {
    EXPECT_EQ(HeaderFailure(PngDeclaring(60000, 60000)), RecognitionFailure::ImageTooLarge);
    EXPECT_EQ(HeaderFailure(JpegDeclaring(65000, 65000)), RecognitionFailure::ImageTooLarge);
    EXPECT_EQ(HeaderFailure(Bytes("P5\n40000 40000\n255\n\x01\x02\x03\x04")),
              RecognitionFailure::ImageTooLarge);
    EXPECT_EQ(HeaderFailure(GifWithFrames({{60000, 60000}})), RecognitionFailure::ImageTooLarge);
    // Each frame fits on its own, but the decoder holds all of them at once.
    EXPECT_EQ(HeaderFailure(GifWithFrames(
                  std::vector<std::pair<std::uint16_t, std::uint16_t>>(5, {4000, 4000}))),
              RecognitionFailure::ImageTooLarge);
}

TEST(ImageHeader, BoundIsSixtyFourMebipixelsOfFourBytes) {
    // 8192 x 8192 BGRA8 is exactly 256 MiB: accepted by the header check, then refused as
    // damaged because the file holds no pixels. One row more passes the bound.
    const auto atBound = PngDeclaring(8192, 8192);
    EXPECT_FALSE(HeaderFailure(atBound).has_value());
    EXPECT_FALSE(DecodeImageBgra(atBound, AlphaMode::Straight).has_value());
    EXPECT_EQ(HeaderFailure(PngDeclaring(8192, 8193)), RecognitionFailure::ImageTooLarge);
}

TEST(ImageHeader, RefusesBytesNoDecoderKnows) {
    EXPECT_EQ(HeaderFailure({}), RecognitionFailure::UndecodableImage);
    EXPECT_EQ(HeaderFailure(Bytes("\x89PNG")), RecognitionFailure::UndecodableImage);
    EXPECT_EQ(HeaderFailure(Bytes("plain text, not an image of any kind")),
              RecognitionFailure::UndecodableImage);
    EXPECT_EQ(HeaderFailure(PngDeclaring(0, 10)), RecognitionFailure::UndecodableImage);
}

TEST(MeasureGif, SumsEveryFrameDescriptorAndCountsBlocks) {
    const auto gif = MeasureGif(GifWithFrames({{3, 4}, {100, 200}}));
    ASSERT_TRUE(gif.has_value());
    EXPECT_EQ(gif->framePixels, 12u + 20000u);
    EXPECT_EQ(gif->blocks, 3u) << "the control extension's block and two frames";
    EXPECT_EQ(MeasureGif(testing::WithCommentBlocks(GifWithFrames({}), 5))->blocks, 6u);
    EXPECT_FALSE(MeasureGif(Bytes("\x89PNG\r\n\x1a\n")).has_value());
}

TEST(MeasureGif, CountsFramesBeforeACut) {
    std::vector<std::uint8_t> gif = GifWithFrames({{3, 4}, {100, 200}});
    gif.resize(gif.size() - 4);  // inside the second frame's data
    EXPECT_EQ(MeasureGif(gif)->framePixels, 12u + 20000u);
    gif.resize(30);  // inside the first frame's descriptor
    EXPECT_EQ(MeasureGif(gif)->framePixels, 0u);
}

TEST(ImageHeader, RefusesGifsOfMoreBlocksThanTheBound) {
    const std::vector<std::uint8_t> gif = EncodedHalves(16, 16, IFF_GIF);
    ASSERT_EQ(MeasureGif(gif)->blocks, 1u) << "one frame, no extension";
    EXPECT_FALSE(HeaderFailure(testing::WithCommentBlocks(gif, 65'535)).has_value());
    EXPECT_EQ(HeaderFailure(testing::WithCommentBlocks(gif, 65'536)),
              RecognitionFailure::ImageTooComplex);
}

TEST(DecodeImageBgra, OpaqueImagesGetFullAlpha) {
    const auto bitmap = DecodeImageBgra(EncodedHalves(4, 2, IFF_BMP), AlphaMode::Premultiplied);
    ASSERT_TRUE(bitmap.has_value());
    ASSERT_EQ(bitmap->pixels.size(), 4u * 2u * 4u);
    const std::vector<std::uint8_t> firstRow(bitmap->pixels.begin(), bitmap->pixels.begin() + 16);
    EXPECT_EQ(firstRow, (std::vector<std::uint8_t>{0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 255,
                                                   255, 255, 255, 255}));
}

}  // namespace
}  // namespace glyphsnap
