// Glyphsnap's message framing: a 4-byte little-endian payload length, then the payload.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace glyphsnap {

// Frames up to this size are held in memory and served. Longer announced lengths are read past in
// bounded chunks so the stream stays in step, and answered with an error instead of being held.
inline constexpr std::uint32_t kMaxFrameLength = 256u * 1024u * 1024u;

struct InputFrame {
    enum class Kind {
        Payload,    // a request payload in `payload`
        End,        // end of input, a read error, a cut-short frame or a zero-length frame
        Oversized,  // a complete frame longer than kMaxFrameLength, skipped; see announcedLength
    };
    Kind kind = Kind::End;
    std::string payload;
    std::uint32_t announcedLength = 0;
};

// Reads the next frame. Never throws for a length the reader cannot hold.
InputFrame ReadMessage(std::istream& in, std::uint32_t maxLength = kMaxFrameLength);

// Writes one frame and flushes. Stream errors are left in the stream's state for the caller.
void WriteMessage(std::ostream& out, std::string_view payload);

}  // namespace glyphsnap
