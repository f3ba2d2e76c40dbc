#include <gtest/gtest.h>

#include "glyphsnap/protocol/image_text.h"
#include "glyphsnap/protocol/json_depth.h"
#include "glyphsnap/protocol/replies.h"
#include "glyphsnap/text/utf.h"

namespace glyphsnap {
namespace {

TEST(ImageText, DataUrlHeaderEndsAtTheFirstComma) {
    EXPECT_EQ(StripDataUrlPrefix("data:image/png;base64,AAAA"), "AAAA");
    EXPECT_EQ(StripDataUrlPrefix("a,b,c"), "b,c");
    EXPECT_EQ(StripDataUrlPrefix(" AAAA "), " AAAA ");
    EXPECT_EQ(StripDataUrlPrefix("x, AAAA"), " AAAA");
    EXPECT_EQ(StripDataUrlPrefix("AAAA,"), "");
}

TEST(ImageText, TrimRemovesOnlyTheFiveBytesAtEitherEnd) {
    EXPECT_EQ(TrimImageText("\"QUJD\"\r\n"), "QUJD");
    EXPECT_EQ(TrimImageText("\\\"QUJD"), "QUJD");
    EXPECT_EQ(TrimImageText(" \" \\\r\n"), "");
    EXPECT_EQ(TrimImageText("\tQUJD\t"), "\tQUJD\t");
    EXPECT_EQ(TrimImageText("Q \"U\" J"), "Q \"U\" J");
    EXPECT_EQ(TrimImageText(""), "");
}

TEST(JsonNesting, CountsOpenBracketsOutsideStrings) {
    EXPECT_FALSE(ExceedsJsonNesting("[[]]", 2));
    EXPECT_TRUE(ExceedsJsonNesting("[[[]]]", 2));
    EXPECT_TRUE(ExceedsJsonNesting("{\"a\":[{}]}", 2));
    EXPECT_FALSE(ExceedsJsonNesting(R"(["[[[[", "\"[[[["])", 1));
    EXPECT_FALSE(ExceedsJsonNesting("[][][][][]", 1));
    EXPECT_TRUE(ExceedsJsonNesting(R"(["\\"[[)", 2)) << "an escaped backslash closes no string";
}

TEST(Utf16ToUtf8, ConvertsPairsAndReplacesLoneSurrogates) {
    EXPECT_EQ(Utf16ToUtf8(u"A中\r\n"), "A\xE4\xB8\xAD\r\n");
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xD800}) + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xDC00})), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(u""), "");
}

TEST(Replies, FixedAndBuiltFormsAreByteExact) {
    // The UTF-8 bytes spelt out, so that a change of the source file's encoding shows too.
    EXPECT_EQ(kBase64FailureReply,
              "{\"status\":\"error\",\"data\":\"Base64 "
              "\xE8\xA7\xA3\xE7\xA0\x81\xE5\xA4\xB1\xE8\xB4\xA5"
              "\"}");
    EXPECT_EQ(kBase64FailureReply.size(), 47u);
    EXPECT_EQ(kCacheFileFailureReply,
              "{\"status\":\"error\",\"data\":\""
              "\xE6\x9C\xAC\xE5\x9C\xB0\xE7\xBC\x93\xE5\xAD\x98\xE6\x96\x87"
              "\xE4\xBB\xB6\xE5\x88\x9B\xE5\xBB\xBA\xE5\xA4\xB1\xE8\xB4\xA5"
              "\"}");
    EXPECT_EQ(kCacheFileFailureReply.size(), 58u);
    const std::string success = BuildSuccessReply(kEditSuccessText);
    EXPECT_EQ(success, R"({"data":"画图程序启动成功","status":"success"})");
    EXPECT_EQ(success.size(), 54u);
    EXPECT_EQ(BuildInternalErrorReply("std::bad_alloc"),
              R"({"data":"C++ 内部报错: std::bad_alloc","status":"error"})");
    // A description that is not UTF-8 still gives a reply.
    EXPECT_EQ(BuildInternalErrorReply("bad \xFF"), R"({"data":"C++ 内部报错: bad )"
                                                   "\xEF\xBF\xBD"
                                                   R"(","status":"error"})");
}

}  // namespace
}  // namespace glyphsnap
