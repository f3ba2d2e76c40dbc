#include "glyphsnap/protocol/flat_request.h"

#include <cstdint>
#include <cstring>

#include "glyphsnap/text/utf.h"

namespace glyphsnap {
namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// True when one of the eight bytes is a control character, a quotation mark, a backslash or not
// ASCII: the bytes that end the plain run of a string.
bool HasSpecialByte(std::uint64_t word) {
    const std::uint64_t control = (word - kOnes * 0x20) & ~word & kHighs;
    const std::uint64_t quote = word ^ (kOnes * 0x22);
    const std::uint64_t backslash = word ^ (kOnes * 0x5C);
    const std::uint64_t quoteFound = (quote - kOnes) & ~quote & kHighs;
    const std::uint64_t backslashFound = (backslash - kOnes) & ~backslash & kHighs;
    return ((control | quoteFound | backslashFound) | (word & kHighs)) != 0;
}

class Reader {
  public:
    explicit Reader(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    bool AtEnd() const { return p_ == end_; }
    char Peek() const { return *p_; }
    void Advance() { ++p_; }

    void SkipWhiteSpace() {
        while (p_ != end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r')) {
            ++p_;
        }
    }

    bool Consume(char c) {
        if (p_ == end_ || *p_ != c) {
            return false;
        }
        ++p_;
        return true;
    }

    void ConsumeByteOrderMark() {
        if (end_ - p_ >= 3 && std::memcmp(p_, "\xEF\xBB\xBF", 3) == 0) {
            p_ += 3;
        }
    }

    // A string without escapes, in valid UTF-8, after its opening quotation mark.
    std::optional<std::string_view> PlainString() {
        const char* const start = p_;
        for (;;) {
            while (end_ - p_ >= 8) {
                std::uint64_t word = 0;
                std::memcpy(&word, p_, sizeof word);
                if (HasSpecialByte(word)) {
                    break;
                }
                p_ += 8;
            }
            if (p_ == end_) {
                return std::nullopt;
            }
            const auto c = static_cast<unsigned char>(*p_);
            if (c == '"') {
                const std::string_view text(start, static_cast<std::size_t>(p_ - start));
                ++p_;
                return text;
            }
            if (c == '\\' || c < 0x20) {
                return std::nullopt;
            }
            if (c < 0x80) {
                ++p_;
            } else if (!SkipUtf8Sequence()) {
                return std::nullopt;
            }
        }
    }

  private:
    bool SkipUtf8Sequence() {
        const Utf8Sequence sequence =
            DecodeUtf8Sequence(std::string_view(p_, static_cast<std::size_t>(end_ - p_)));
        p_ += sequence.length;
        return sequence.length != 0;
    }

    const char* p_;
    const char* const end_;
};

}  // namespace

std::optional<FlatRequest> ReadFlatRequest(std::string_view payload) {
    Reader reader(payload);
    reader.ConsumeByteOrderMark();
    reader.SkipWhiteSpace();
    if (!reader.Consume('{')) {
        return std::nullopt;
    }
    FlatRequest request;
    reader.SkipWhiteSpace();
    if (!reader.Consume('}')) {
        for (;;) {
            if (!reader.Consume('"')) {
                return std::nullopt;
            }
            const auto name = reader.PlainString();
            reader.SkipWhiteSpace();
            if (!name || !reader.Consume(':')) {
                return std::nullopt;
            }
            reader.SkipWhiteSpace();
            if (!reader.Consume('"')) {
                return std::nullopt;
            }
            const auto value = reader.PlainString();
            if (!value) {
                return std::nullopt;
            }
            // A repeated name keeps its last value, as the JSON library does.
            if (*name == "action") {
                request.action = value;
            } else if (*name == "image") {
                request.image = value;
            }
            reader.SkipWhiteSpace();
            if (reader.Consume('}')) {
                break;
            }
            if (!reader.Consume(',')) {
                return std::nullopt;
            }
            reader.SkipWhiteSpace();
        }
    }
    reader.SkipWhiteSpace();
    // The JSON library reads a NUL byte as the end of its input.
    if (!reader.AtEnd() && reader.Peek() != '\0') {
        return std::nullopt;
    }
    return request;
}

}  // namespace glyphsnap
