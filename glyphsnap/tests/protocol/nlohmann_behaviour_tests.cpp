// The request loop relies on these behaviours of the JSON library; an upgrade that changes one
// changes what callers receive.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

bool ParsesWithoutThrowing(const std::string& text) {
    return !json::parse(text, nullptr, false).is_discarded();
}

TEST(JsonLibrary, StrictValidityAndNonThrowingParseAgree) {
    for (const std::string& text :
         std::vector<std::string>{"{}", " {\"a\":1} ", "\xEF\xBB\xBF{}", "{} x", "{}{}", "", " ",
                                  "\xEF\xBB\xBF", " \xEF\xBB\xBF{}", "{\"a\":\"\xC3\x28\"}",
                                  "{\"a\":\"\xE4\xB8\xAD\"}", "[1,]", "/**/{}", "NaN", "1e999",
                                  std::string("{}\0x", 4), "\"\\ud800\"", "{\"a\":1,\"a\":2}"}) {
        EXPECT_EQ(json::accept(text), ParsesWithoutThrowing(text)) << text;
    }
}

TEST(JsonLibrary, AcceptIsStrict) {
    EXPECT_TRUE(json::accept("\xEF\xBB\xBF{\"image\":\"x\"}"));
    EXPECT_FALSE(json::accept("{\"image\":\"x\"} trailing"));
    EXPECT_FALSE(json::accept("{\"image\":\"\xFF\"}"));
    EXPECT_FALSE(json::accept(" \t\r\n"));
    EXPECT_FALSE(json::accept("// note\n{}"));
    EXPECT_TRUE(json::accept(std::string("{}\0garbage", 10))) << "a NUL byte ends the input";
}

TEST(JsonLibrary, TypeErrorTextNamesTheType) {
    struct Case {
        json value;
        const char* name;
    };
    for (const Case& c :
         {Case{nullptr, "null"}, Case{json::object(), "object"}, Case{json::array(), "array"},
          Case{true, "boolean"}, Case{5, "number"}, Case{1.5, "number"}, Case{-3, "number"}}) {
        try {
            (void)c.value.get<std::string>();
            ADD_FAILURE() << "no type error for " << c.name;
        } catch (const json::type_error& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("[json.exception.type_error.302] type must be string, but is ") +
                          c.name);
        }
    }
}

TEST(JsonLibrary, CompactDumpSortsMembersAndKeepsRawUtf8) {
    json reply;
    reply["status"] = "success";
    reply["data"] = "中\r\n\"\\\x01/";
    EXPECT_EQ(reply.dump(), "{\"data\":\"中\\r\\n\\\"\\\\\\u0001/\",\"status\":\"success\"}");
    reply["data"] = "\xFF";
    EXPECT_THROW((void)reply.dump(), json::type_error);
}

}  // namespace
