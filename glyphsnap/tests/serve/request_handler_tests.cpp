#include <gtest/gtest.h>

#include <sstream>

#include "glyphsnap/protocol/replies.h"
#include "glyphsnap/serve/request_handler.h"
#include "glyphsnap/tests/serve/fake_actions.h"

namespace glyphsnap {
namespace {

using testing::RecordingActions;
using testing::SplitFrames;

struct Handled {
    std::vector<std::string> replies;
    RecordingActions actions;
};

Handled Handle(const std::string& payload, RecognitionOutcome outcome = std::u16string(u"AB\r\n")) {
    Handled result;
    result.actions.nextOutcome = std::move(outcome);
    std::ostringstream out;
    HandleRequest(payload, result.actions, out);
    auto frames = SplitFrames(out.str());
    EXPECT_TRUE(frames.has_value()) << "replies must be whole frames";
    result.replies = frames.value_or(std::vector<std::string>{});
    return result;
}

std::string Only(const Handled& handled) {
    EXPECT_EQ(handled.replies.size(), 1u);
    return handled.replies.empty() ? std::string() : handled.replies.front();
}

TEST(RequestHandler, InvalidJsonGetsTheFixedReply) {
    for (const std::string payload :
         {"abc", " ", "\t\r\n", "{\"image\":\"x\"} trailing", "{\"image\":\"x\"}{}", "{'a':1}",
          "{\"image\":\"\xC3\x28\"}", "[1,2", "// comment\n{}", ""}) {
        const Handled handled = Handle(payload);
        EXPECT_EQ(Only(handled), kInvalidJsonReply) << payload;
        EXPECT_TRUE(handled.actions.recognitions.empty());
    }
}

TEST(RequestHandler, InvalidJsonReplyIsValidUtf8InTheFixedForm) {
    const std::string_view reply = kInvalidJsonReply;
    EXPECT_EQ(reply.substr(0, 26), R"({"status":"error","data":")");
    const std::string_view message = reply.substr(26, reply.size() - 28);
    EXPECT_EQ(message.substr(0, 6), "无效");
    EXPECT_EQ(message.substr(message.size() - 11), "JSON 格式");
    EXPECT_EQ(reply.substr(reply.size() - 2), "\"}");
}

TEST(RequestHandler, ByteOrderMarkAtTheStartIsAccepted) {
    const Handled handled = Handle("\xEF\xBB\xBF{\"image\":\"QUJD\"}");
    ASSERT_EQ(handled.actions.recognitions.size(), 1u);
    EXPECT_EQ(handled.actions.recognitions[0], "QUJD");
}

TEST(RequestHandler, RecognitionIsTheDefaultAction) {
    for (const std::string payload :
         {R"({"image":"i"})", R"({"action":"ocr","image":"i"})", R"({"action":"OCR","image":"i"})",
          R"({"action":"anything","image":"i"})", R"({"image":"i","action":"edit_imagE"})"}) {
        const Handled handled = Handle(payload);
        EXPECT_EQ(handled.actions.recognitions.size(), 1u) << payload;
        EXPECT_TRUE(handled.actions.edits.empty()) << payload;
        EXPECT_EQ(Only(handled), R"({"data":"AB\r\n","status":"success"})") << payload;
    }
}

TEST(RequestHandler, EditActionGetsTheImageAsReceived) {
    const Handled handled = Handle(R"({"image":" \"QUJD\"\r\n","action":"edit_image","x":1})");
    ASSERT_EQ(handled.actions.edits.size(), 1u);
    EXPECT_EQ(handled.actions.edits[0], " \"QUJD\"\r\n");
    EXPECT_EQ(Only(handled), "edited");
}

TEST(RequestHandler, RequestsWithoutImageOrNotObjectsGetNoReply) {
    for (const std::string payload : {R"({"action":"edit_image"})", R"({"action":"ocr"})", "[1,2]",
                                      R"("text")", "42", "null", R"({"Image":"x"})", "{}"}) {
        const Handled handled = Handle(payload);
        EXPECT_TRUE(handled.replies.empty()) << payload;
        EXPECT_TRUE(handled.actions.recognitions.empty());
        EXPECT_TRUE(handled.actions.edits.empty());
    }
}

TEST(RequestHandler, WrongMemberTypesGetTheLibraryTypeError) {
    struct Case {
        const char* payload;
        const char* typeName;
    };
    for (const Case& c :
         {Case{R"({"action":5,"image":"x"})", "number"}, Case{R"({"action":5})", "number"},
          Case{R"({"image":null})", "null"}, Case{R"({"image":{}})", "object"},
          Case{R"({"image":[]})", "array"}, Case{R"({"image":true})", "boolean"},
          Case{R"({"action":"edit_image","image":1.5})", "number"}}) {
        const Handled handled = Handle(c.payload);
        EXPECT_EQ(Only(handled),
                  std::string(R"({"data":"C++ 内部报错: [json.exception.type_error.302] type must )"
                              R"(be string, but is )") +
                      c.typeName + R"(","status":"error"})")
            << c.payload;
    }
}

TEST(RequestHandler, RecognisedTextIsEscapedOnlyWhereJsonRequires) {
    const Handled handled = Handle(R"({"image":"i"})", std::u16string(u"引号\"\\\t中文\r\n"));
    EXPECT_EQ(Only(handled), R"({"data":"引号\"\\\t中文\r\n","status":"success"})");
    EXPECT_EQ(Only(Handle(R"({"image":"i"})", std::u16string())),
              R"({"data":"","status":"success"})");
}

TEST(RequestHandler, RecognitionFailuresGetTheirReplies) {
    struct Case {
        RecognitionFailure failure;
        std::string reply;
    };
    const Case cases[] = {
        {RecognitionFailure::NotBase64, std::string(kBase64FailureReply)},
        {RecognitionFailure::UndecodableImage,
         R"({"data":"图片解码失败: 无法识别的图片格式或图片已损坏","status":"error"})"},
        {RecognitionFailure::ImageTooLarge,
         R"({"data":"图片解码失败: 图片尺寸超过上限","status":"error"})"},
        {RecognitionFailure::ImageTooComplex,
         R"({"data":"图片解码失败: 图片的数据块数量超过上限","status":"error"})"},
        {RecognitionFailure::RecognitionFailed, R"({"data":"文字识别失败","status":"error"})"},
        {RecognitionFailure::RecognitionTimedOut,
         R"({"data":"文字识别失败: 识别超时","status":"error"})"},
        {RecognitionFailure::NoRecognizer,
         R"({"data":"文字识别失败: 没有适用于当前语言的识别引擎","status":"error"})"},
        {RecognitionFailure::RecognizerNotLoaded,
         R"({"data":"文字识别失败: 识别引擎模块加载失败","status":"error"})"},
        {RecognitionFailure::RecognizerNotStarted,
         R"({"data":"文字识别失败: 识别引擎启动失败","status":"error"})"},
        {RecognitionFailure::Unavailable,
         R"({"data":"文字识别失败: 此版本没有文字识别引擎","status":"error"})"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Only(Handle(R"({"image":"i"})", RecognitionError{c.failure})), c.reply);
    }
}

TEST(RequestHandler, RecognitionUnfinishedAtTheReplyLimitIsAnsweredAsTimedOut) {
    RecordingActions actions;
    actions.recognitionFinishes = false;
    std::ostringstream out;
    HandleRequest(R"({"image":"i"})", actions, out, std::chrono::milliseconds(10));
    EXPECT_EQ(SplitFrames(out.str()),
              std::vector<std::string>{R"({"data":"文字识别失败: 识别超时","status":"error"})"});
}

TEST(RequestHandler, NestingBeyondTheBoundIsInvalidJsonWithoutParsing) {
    const std::string deep = std::string(1'000'000, '[');
    EXPECT_EQ(Only(Handle(deep)), kInvalidJsonReply);

    // Within the bound the library decides as it always does.
    const std::string within = std::string(512, '[') + std::string(512, ']');
    EXPECT_TRUE(Handle(within).replies.empty());
    const std::string beyond = std::string(513, '[') + std::string(513, ']');
    EXPECT_EQ(Only(Handle(beyond)), kInvalidJsonReply);

    // Brackets inside strings are text.
    const std::string inString = R"({"image":")" + std::string(2000, '[') + R"("})";
    EXPECT_EQ(Handle(inString).actions.recognitions.size(), 1u);
}

TEST(RequestHandler, RequestsBeyondTheValueBoundGetAnErrorReplyWithoutParsing) {
    // {"image":"i","x":[0,...]} holds the object, the image, the array and its numbers.
    const auto wide = [](std::size_t values) {
        std::string numbers(2 * (values - 3) - 1, ',');
        for (std::size_t i = 0; i < numbers.size(); i += 2) {
            numbers[i] = '0';
        }
        return R"({"image":"i","x":[)" + numbers + "]}";
    };
    EXPECT_EQ(Handle(wide(100'000)).actions.recognitions.size(), 1u);
    const Handled beyond = Handle(wide(100'001));
    EXPECT_EQ(Only(beyond),
              R"({"data":"C++ 内部报错: request exceeds the limit of 100000 JSON values",)"
              R"("status":"error"})");
    EXPECT_TRUE(beyond.actions.recognitions.empty());
    // Commas inside strings are text.
    EXPECT_EQ(Handle(R"({"image":"i","x":[")" + std::string(200'000, ',') + R"("]})")
                  .actions.recognitions.size(),
              1u);
}

TEST(RequestHandler, NulByteEndsTheJsonText) {
    const std::string payload("{\"image\":\"QUJD\"}\0trailing", 25);
    const Handled handled = Handle(payload);
    EXPECT_EQ(handled.actions.recognitions.size(), 1u);
}

}  // namespace
}  // namespace glyphsnap
