#include <gtest/gtest.h>

#include <sstream>

#include "glyphsnap/protocol/frame_io.h"
#include "glyphsnap/protocol/replies.h"
#include "glyphsnap/serve/request_loop.h"
#include "glyphsnap/tests/serve/fake_actions.h"

namespace glyphsnap {
namespace {

using testing::Frame;
using testing::RecordingActions;
using testing::SplitFrames;

// A stream buffer that hands out at most one byte per read, as a slow pipe does.
class TricklingBuffer final : public std::streambuf {
  public:
    explicit TricklingBuffer(std::string bytes) : bytes_(std::move(bytes)) {}

  protected:
    int_type underflow() override {
        if (position_ >= bytes_.size()) {
            return traits_type::eof();
        }
        current_ = bytes_[position_++];
        setg(&current_, &current_, &current_ + 1);
        return traits_type::to_int_type(current_);
    }

  private:
    std::string bytes_;
    std::size_t position_ = 0;
    char current_ = 0;
};

TEST(FrameIo, WritesLengthPrefixThenPayload) {
    std::ostringstream out;
    WriteMessage(out, std::string(0x36, 'x'));
    const std::string bytes = out.str();
    ASSERT_EQ(bytes.size(), 0x36u + 4);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x36\x00\x00\x00", 4));
}

TEST(FrameIo, ReadsFramesBackToBackAndAcrossSplitReads) {
    const std::string bytes = Frame("first") + Frame(std::string(300, 'y')) + Frame("third");
    TricklingBuffer trickle(bytes);
    std::istream slow(&trickle);
    std::istringstream whole(bytes);
    for (std::istream* in :
         {static_cast<std::istream*>(&slow), static_cast<std::istream*>(&whole)}) {
        EXPECT_EQ(ReadMessage(*in).payload, "first");
        EXPECT_EQ(ReadMessage(*in).payload, std::string(300, 'y'));
        EXPECT_EQ(ReadMessage(*in).payload, "third");
        EXPECT_EQ(ReadMessage(*in).kind, InputFrame::Kind::End);
    }
}

TEST(FrameIo, ZeroLengthShortPrefixAndCutShortFramesEndTheInput) {
    for (const std::string& bytes : {std::string("\0\0\0\0", 4), std::string("\x05\0\0", 3),
                                     std::string(), std::string("\x05\0\0\0abc", 7)}) {
        std::istringstream in(bytes);
        EXPECT_EQ(ReadMessage(in).kind, InputFrame::Kind::End);
    }
}

TEST(FrameIo, OversizedFrameIsSkippedAndTheStreamStaysInStep) {
    std::istringstream in(Frame(std::string(100, 'z')) + Frame("next"));
    const InputFrame skipped = ReadMessage(in, /*maxLength=*/64);
    EXPECT_EQ(skipped.kind, InputFrame::Kind::Oversized);
    EXPECT_EQ(skipped.announcedLength, 100u);
    EXPECT_TRUE(skipped.payload.empty());
    EXPECT_EQ(ReadMessage(in, 64).payload, "next");

    // An oversized frame cut short by the end of input ends the loop like any other.
    std::istringstream cut(std::string("\xFF\xFF\xFF\xFF", 4) + std::string(10, 'a'));
    EXPECT_EQ(ReadMessage(cut).kind, InputFrame::Kind::End);
}

TEST(RequestLoop, AnswersEachRequestInOrderAndEndsAtTheZeroFrame) {
    std::istringstream in(Frame("abc") + Frame(R"({"image":"a"})") + Frame("[1]") +
                          Frame(R"({"image":"b"})") + std::string("\0\0\0\0", 4) +
                          Frame(R"({"image":"never"})"));
    std::ostringstream out;
    RecordingActions actions;
    EXPECT_EQ(RunRequestLoop(in, out, actions), 0);
    const auto replies = SplitFrames(out.str());
    ASSERT_TRUE(replies.has_value());
    ASSERT_EQ(replies->size(), 3u);
    EXPECT_EQ((*replies)[0], kInvalidJsonReply);
    EXPECT_EQ(actions.recognitions, (std::vector<std::string>{"a", "b"}));
}

TEST(RequestLoop, OversizedAnnouncementGetsAnErrorNamingLengthAndLimit) {
    // 4 GiB - 1 announced; the payload that does arrive is read past, then the input ends.
    std::istringstream in(std::string("\xFF\xFF\xFF\xFF", 4));
    std::ostringstream out;
    RecordingActions actions;
    EXPECT_EQ(RunRequestLoop(in, out, actions), 0);
    EXPECT_TRUE(out.str().empty()) << "a frame cut short gets no reply";

    const std::uint32_t length = kMaxFrameLength + 1;
    std::string header(4, '\0');
    for (int i = 0; i < 4; ++i) {
        header[static_cast<std::size_t>(i)] = static_cast<char>((length >> (8 * i)) & 0xFF);
    }
    std::istringstream big(header + std::string(length, ' ') + Frame(R"({"image":"a"})"));
    std::ostringstream bigOut;
    EXPECT_EQ(RunRequestLoop(big, bigOut, actions), 0);
    const auto replies = SplitFrames(bigOut.str());
    ASSERT_TRUE(replies.has_value());
    ASSERT_EQ(replies->size(), 2u);
    EXPECT_EQ((*replies)[0],
              R"({"data":"C++ 内部报错: request frame of 268435457 bytes exceeds the limit of )"
              R"(268435456 bytes","status":"error"})");
    EXPECT_EQ((*replies)[1], R"({"data":"AB\r\n","status":"success"})");
}

}  // namespace
}  // namespace glyphsnap
