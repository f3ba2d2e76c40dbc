#include <gtest/gtest.h>

#include "glyphsnap/tests/text/base64_cases.h"
#include "glyphsnap/text/base64.h"

namespace glyphsnap {
namespace {

std::string AsText(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(Base64, DecodesTheStandardAlphabetWithAndWithoutPadding) {
    EXPECT_EQ(AsText(*DecodeBase64("QUJD")), "ABC");
    EXPECT_EQ(AsText(*DecodeBase64("QUJDRA==")), "ABCD");
    EXPECT_EQ(AsText(*DecodeBase64("QUJDRA")), "ABCD");
    EXPECT_EQ(AsText(*DecodeBase64("QUJDREU=")), "ABCDE");
    EXPECT_EQ(AsText(*DecodeBase64("QUJDREU")), "ABCDE");
    EXPECT_EQ(AsText(*DecodeBase64("+/+/")), "\xFB\xFF\xBF");
    EXPECT_TRUE(DecodeBase64("")->empty());
}

TEST(Base64, SkipsWhiteSpaceAndEndsAtNul) {
    EXPECT_EQ(AsText(*DecodeBase64(" Q U\tJ\rD\n")), "ABC");
    EXPECT_EQ(AsText(*DecodeBase64(std::string_view("QUJD\0!!!!", 9))), "ABC");
}

TEST(Base64, RefusesWhatTheWindowsDecoderRefuses) {
    for (const std::string_view text :
         {"QUJD!", "QUJ\x0B", "QQ=", "QQ=Q", "Q=", "QUJD\xC3\xA4", "-_-_", "QUJD\f"}) {
        EXPECT_FALSE(DecodeBase64(text).has_value()) << text;
    }
}

TEST(Base64, PaddingThatCompletesABlockEndsTheText) {
    EXPECT_EQ(AsText(*DecodeBase64("QQ==garbage!")), "A");
    EXPECT_EQ(AsText(*DecodeBase64("QUJD=anything")), "ABC");
}

TEST(Base64, MatchesTheRecordedWindowsAnswers) {
    for (const Base64Case& c : kBase64Cases) {
        const auto decoded = DecodeBase64(c.text);
        ASSERT_EQ(decoded.has_value(), c.accepted) << c.name;
        if (c.accepted) {
            EXPECT_EQ(AsText(*decoded), std::string(c.bytes)) << c.name;
        }
    }
}

}  // namespace
}  // namespace glyphsnap
