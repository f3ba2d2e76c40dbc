#include "glyphsnap/protocol/frame_io.h"

#include <algorithm>
#include <array>
#include <istream>
#include <new>
#include <ostream>

namespace glyphsnap {
namespace {

bool ReadExactly(std::istream& in, char* data, std::size_t size) {
    in.read(data, static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(in.gcount()) == size;
}

// Consumes `length` bytes without holding them; false when the input ends first.
bool Skip(std::istream& in, std::uint64_t length) {
    std::array<char, std::size_t{64} * 1024> chunk{};
    while (length > 0) {
        const auto step = static_cast<std::size_t>(std::min<std::uint64_t>(length, chunk.size()));
        if (!ReadExactly(in, chunk.data(), step)) {
            return false;
        }
        length -= step;
    }
    return true;
}

}  // namespace

InputFrame ReadMessage(std::istream& in, std::uint32_t maxLength) {
    std::array<unsigned char, 4> prefix{};
    if (!ReadExactly(in, reinterpret_cast<char*>(prefix.data()), prefix.size())) {
        return {};
    }
    const std::uint32_t length = std::uint32_t{prefix[0]} | (std::uint32_t{prefix[1]} << 8) |
                                 (std::uint32_t{prefix[2]} << 16) |
                                 (std::uint32_t{prefix[3]} << 24);
    if (length == 0) {
        return {};
    }

    InputFrame frame;
    frame.announcedLength = length;
    if (length <= maxLength) {
        try {
            frame.payload.assign(length, '\0');
        } catch (const std::bad_alloc&) {
            // The buffer cannot be had on this machine: answer it like an oversized frame.
            frame.payload = std::string();
        }
        if (frame.payload.size() == length) {
            if (!ReadExactly(in, frame.payload.data(), length)) {
                return {};
            }
            frame.kind = InputFrame::Kind::Payload;
            return frame;
        }
    }
    if (!Skip(in, length)) {
        return {};
    }
    frame.kind = InputFrame::Kind::Oversized;
    return frame;
}

void WriteMessage(std::ostream& out, std::string_view payload) {
    const auto length = static_cast<std::uint32_t>(payload.size());
    const std::array<char, 4> prefix{
        static_cast<char>(length & 0xFF), static_cast<char>((length >> 8) & 0xFF),
        static_cast<char>((length >> 16) & 0xFF), static_cast<char>((length >> 24) & 0xFF)};
    out.write(prefix.data(), prefix.size());
    out.write(payload.data(), static_cast<std::streamsize>(payload.size()));
    out.flush();
}

}  // namespace glyphsnap
