// The request's way from "image" text to recognised text, with a recognizer that records what it
// was given.
#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

#include <optional>

#include "glyphsnap/recognition/image/pipeline.h"
#include "glyphsnap/tests/recognition/test_images.h"

namespace glyphsnap {
namespace {

using testing::Base64;
using testing::EncodedHalves;
using testing::EncodedImage;
using testing::Rgba;

struct RecorderState {
    int created = 0;
    std::optional<BgraBitmap> seen;
};

class RecordingRecognizer final : public TextRecognizer {
  public:
    RecordingRecognizer(RecorderState& state, std::uint32_t maxDimension,
                        std::optional<std::vector<OcrLine>> result)
        : state_(state), maxDimension_(maxDimension), result_(std::move(result)) {}
    std::uint32_t MaxImageDimension() const override { return maxDimension_; }
    std::variant<std::vector<OcrLine>, RecognitionFailure> Recognize(
        const BgraBitmap& bitmap) override {
        state_.seen = bitmap;
        if (!result_) {
            return RecognitionFailure::RecognitionFailed;
        }
        return *result_;
    }

  private:
    RecorderState& state_;
    std::uint32_t maxDimension_;
    std::optional<std::vector<OcrLine>> result_;
};

class ImagePipelineTest : public ::testing::Test {
  protected:
    RecognitionOutcome Recognize(std::string_view image, std::uint32_t maxDimension = 10000) {
        return RecognizeImageText(image, [&]() -> std::unique_ptr<TextRecognizer> {
            ++state.created;
            if (!recognizerExists) {
                return nullptr;
            }
            return std::make_unique<RecordingRecognizer>(state, maxDimension, result);
        });
    }

    static std::optional<RecognitionFailure> FailureOf(const RecognitionOutcome& outcome) {
        if (const auto* error = std::get_if<RecognitionError>(&outcome)) {
            return error->failure;
        }
        return std::nullopt;
    }

    RecorderState state;
    bool recognizerExists = true;
    std::optional<std::vector<OcrLine>> result = std::vector<OcrLine>{{{u"Hello", u"World"}}};
};

TEST_F(ImagePipelineTest, RecognisedWordsAreAssembled) {
    const auto outcome = Recognize(Base64(EncodedHalves(240, 200, IFF_PNG)));
    ASSERT_TRUE(std::holds_alternative<std::u16string>(outcome));
    EXPECT_EQ(std::get<std::u16string>(outcome), u"Hello World\r\n");
}

struct FormatCase {
    const char* name;
    int format;
    int tolerance;  // lossy formats move the levels a little
};

class ImageFormatTest : public ImagePipelineTest,
                        public ::testing::WithParamInterface<FormatCase> {};

TEST_P(ImageFormatTest, IsFoundFromTheBytesAndDecodedInFull) {
    const FormatCase& c = GetParam();
    const auto outcome = Recognize(Base64(EncodedHalves(240, 200, c.format)));
    ASSERT_FALSE(FailureOf(outcome).has_value()) << static_cast<int>(*FailureOf(outcome));
    ASSERT_TRUE(state.seen.has_value());
    EXPECT_EQ(state.seen->width, 240u);
    EXPECT_EQ(state.seen->height, 200u);
    const std::uint8_t* row = state.seen->pixels.data() + std::size_t{100} * 240 * 4;
    EXPECT_NEAR(row[std::size_t{10} * 4], 0, c.tolerance);     // left half black
    EXPECT_NEAR(row[std::size_t{230} * 4], 255, c.tolerance);  // right half white
    EXPECT_EQ(row[std::size_t{230} * 4 + 3], 255);             // opaque
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ImageFormatTest,
    ::testing::Values(FormatCase{"Png", IFF_PNG, 0}, FormatCase{"Jpeg", IFF_JFIF_JPEG, 12},
                      FormatCase{"Bmp", IFF_BMP, 0}, FormatCase{"Gif", IFF_GIF, 0},
                      FormatCase{"Tiff", IFF_TIFF_ZIP, 0}, FormatCase{"WebP", IFF_WEBP, 12},
                      FormatCase{"Pnm", IFF_PNM, 0}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

struct SizeCase {
    const char* name;
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t maxDimension;
    std::uint32_t seenWidth;
    std::uint32_t seenHeight;
};

class ImageScaleTest : public ImagePipelineTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ImageScaleTest, RecognizerGetsTheScaledSize) {
    const SizeCase& c = GetParam();
    const auto outcome = Recognize(
        Base64(EncodedImage(c.width, c.height, {90, 90, 90, 255}, IFF_PNG)), c.maxDimension);
    ASSERT_FALSE(FailureOf(outcome).has_value());
    ASSERT_TRUE(state.seen.has_value());
    EXPECT_EQ(state.seen->width, c.seenWidth);
    EXPECT_EQ(state.seen->height, c.seenHeight);
    EXPECT_EQ(state.seen->pixels.size(), std::size_t{c.seenWidth} * c.seenHeight * 4);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ImageScaleTest,
                         ::testing::Values(SizeCase{"Doubled", 100, 300, 10000, 200, 600},
                                           SizeCase{"WithinOnePercent", 199, 500, 10000, 199, 500},
                                           SizeCase{"Truncated", 198, 500, 10000, 199, 505},
                                           SizeCase{"CappedAtLimit", 150, 10000, 10000, 150, 10000},
                                           SizeCase{"HalvedToLimit", 1000, 20000, 10000, 500,
                                                    10000},
                                           SizeCase{"SmallLimit", 50, 5000, 4000, 40, 4000}),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(ImagePipelineTest, BitmapIsEnhancedBeforeRecognition) {
    ASSERT_FALSE(FailureOf(Recognize(Base64(EncodedImage(200, 200, {100, 100, 100, 255}, IFF_PNG))))
                     .has_value());
    ASSERT_TRUE(state.seen.has_value());
    EXPECT_EQ(state.seen->pixels[0], 97);
    EXPECT_EQ(state.seen->pixels[1], 97);
    EXPECT_EQ(state.seen->pixels[2], 97);
    // A resampled grey image is enhanced the same way.
    ASSERT_FALSE(FailureOf(Recognize(Base64(EncodedImage(50, 50, {200, 200, 200, 255}, IFF_PNG))))
                     .has_value());
    EXPECT_EQ(state.seen->width, 200u);
    EXPECT_EQ(state.seen->pixels[std::size_t{4} * 1000], 207);
}

TEST_F(ImagePipelineTest, UnscaledAlphaIsPremultipliedAndScaledAlphaStraight) {
    // White at alpha 0: premultiplied it turns black, straight it stays white.
    const Rgba transparentWhite{255, 255, 255, 0};
    ASSERT_FALSE(FailureOf(Recognize(Base64(EncodedImage(200, 200, transparentWhite, IFF_PNG))))
                     .has_value());
    EXPECT_EQ(state.seen->pixels[0], 0);
    EXPECT_EQ(state.seen->pixels[3], 0);
    ASSERT_FALSE(FailureOf(Recognize(Base64(EncodedImage(100, 100, transparentWhite, IFF_PNG))))
                     .has_value());
    EXPECT_EQ(state.seen->width, 200u);
    EXPECT_EQ(state.seen->pixels[0], 255);
    EXPECT_EQ(state.seen->pixels[3], 0);
}

TEST_F(ImagePipelineTest, DataUrlHeaderIsCutAndSpacesAreKept) {
    const std::string image = Base64(EncodedHalves(240, 200, IFF_PNG));
    EXPECT_FALSE(FailureOf(Recognize("data:image/png;base64," + image)).has_value());
    // The decoder itself skips the spaces, as the Windows decoder does.
    EXPECT_FALSE(FailureOf(Recognize(" " + image + " ")).has_value());
    EXPECT_EQ(FailureOf(Recognize("\"" + image + "\"")), RecognitionFailure::NotBase64);
    EXPECT_EQ(FailureOf(Recognize("no,header," + image)), RecognitionFailure::NotBase64);
}

TEST_F(ImagePipelineTest, FailuresBeforeTheRecognizerDoNotCreateIt) {
    EXPECT_EQ(FailureOf(Recognize("@@@@")), RecognitionFailure::NotBase64);
    EXPECT_EQ(FailureOf(Recognize("")), RecognitionFailure::UndecodableImage);
    EXPECT_EQ(FailureOf(Recognize(Base64({'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g',
                                          'e', ' ', 'a', 't', ' ', 'a', 'l', 'l'}))),
              RecognitionFailure::UndecodableImage);
    EXPECT_EQ(state.created, 0);
}

TEST_F(ImagePipelineTest, DamagedImagesAreRefused) {
    const std::vector<std::uint8_t> png = EncodedHalves(240, 200, IFF_PNG);
    const std::vector<std::uint8_t> jpeg = EncodedHalves(240, 200, IFF_JFIF_JPEG);
    const std::vector<std::uint8_t> gif = EncodedHalves(240, 200, IFF_GIF);
    for (const auto* image : {&png, &jpeg, &gif}) {
        const std::vector<std::uint8_t> cut(image->begin(), image->begin() + image->size() / 2);
        EXPECT_EQ(FailureOf(Recognize(Base64(cut))), RecognitionFailure::UndecodableImage);
    }
    std::vector<std::uint8_t> corrupt = png;
    for (std::size_t i = 60; i < corrupt.size() - 20; ++i) {
        corrupt[i] ^= 0x5A;
    }
    EXPECT_EQ(FailureOf(Recognize(Base64(corrupt))), RecognitionFailure::UndecodableImage);
    EXPECT_FALSE(state.seen.has_value());
}

TEST_F(ImagePipelineTest, MissingRecognizerAndFailedRecognitionAreReported) {
    const std::string image = Base64(EncodedHalves(240, 200, IFF_PNG));
    recognizerExists = false;
    EXPECT_EQ(FailureOf(Recognize(image)), RecognitionFailure::NoRecognizer);
    recognizerExists = true;
    result = std::nullopt;
    EXPECT_EQ(FailureOf(Recognize(image)), RecognitionFailure::RecognitionFailed);
}

TEST_F(ImagePipelineTest, NoLinesGiveEmptyText) {
    result = std::vector<OcrLine>{};
    const auto outcome = Recognize(Base64(EncodedHalves(240, 200, IFF_PNG)));
    ASSERT_TRUE(std::holds_alternative<std::u16string>(outcome));
    EXPECT_EQ(std::get<std::u16string>(outcome), u"");
}

}  // namespace
}  // namespace glyphsnap
