#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "glyphsnap/protocol/flat_request.h"

namespace glyphsnap {
namespace {

TEST(FlatRequest, ReadsFlatObjectsOfPlainStrings) {
    const auto request = ReadFlatRequest(
        "\xEF\xBB\xBF \r\n{ \"x\" : \"1\", "
        "\"action\":\"edit_image\",\t\"image\":\"QU\xE4\xB8\xAD\"} ");
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->action, "edit_image");
    EXPECT_EQ(request->image, "QU\xE4\xB8\xAD");

    const auto empty = ReadFlatRequest("{}");
    ASSERT_TRUE(empty.has_value());
    EXPECT_FALSE(empty->action.has_value());
    EXPECT_FALSE(empty->image.has_value());
}

TEST(FlatRequest, RepeatedNamesKeepTheLastValueAndNulEndsTheText) {
    const std::string payload("{\"image\":\"a\",\"image\":\"b\"}\0junk", 30);
    const auto request = ReadFlatRequest(payload);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->image, "b");
    EXPECT_EQ(nlohmann::json::parse(payload)["image"], "b");
}

TEST(FlatRequest, LeavesEverythingElseToTheJsonLibrary) {
    for (const std::string& payload :
         std::vector<std::string>{R"({"image":"a\/b"})",
                                  R"({"image":null})",
                                  R"({"action":5,"image":"x"})",
                                  R"({"a":{"image":"x"}})",
                                  R"(["image"])",
                                  R"({"image":"x",})",
                                  R"({"image":"x"} x)",
                                  R"({"image":"x"}{})",
                                  "{\"image\":\"\x01\"}",
                                  "{\"image\":\"\xC0\xAF\"}",
                                  "{\"image\":\"\xED\xA0\x80\"}",
                                  "{\"image\":\"\xF4\x90\x80\x80\"}",
                                  "{\"image\":\"\xE4\xB8\"}",
                                  std::string("{\"image\":\"a\0b\"}", 14),
                                  R"({"image":"x)",
                                  R"({"image" "x"})",
                                  "\xEF\xBB{}",
                                  R"({,"image":"x"})",
                                  R"({"image":"x")",
                                  ""}) {
        EXPECT_FALSE(ReadFlatRequest(payload).has_value()) << payload;
    }
}

TEST(FlatRequest, ScansLongStringsAcrossEveryAlignment) {
    for (std::size_t length = 0; length < 40; ++length) {
        for (const char special : {'"', '\\', '\x1F', '\x80'}) {
            std::string text(length, 'Q');
            const std::string ok = "{\"image\":\"" + text + "\"}";
            ASSERT_EQ(ReadFlatRequest(ok)->image, text);
            if (length == 0) {
                continue;
            }
            text[length / 2] = special;
            const std::string payload = "{\"image\":\"" + text + "\"}";
            EXPECT_FALSE(ReadFlatRequest(payload).has_value()) << length << ' ' << int{special};
        }
    }
}

}  // namespace
}  // namespace glyphsnap
