#include "glyphsnap/tests/recognition/test_images.h"

#include <leptonica/allheaders.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace glyphsnap::testing {
namespace {

struct PixDeleter {
    void operator()(Pix* pix) const { pixDestroy(&pix); }
};
using UniquePix = std::unique_ptr<Pix, PixDeleter>;

std::vector<std::uint8_t> Encode(Pix* pix, int format) {
    l_uint8* data = nullptr;
    size_t size = 0;
    if (pixWriteMem(&data, &size, pix, format) != 0) {
        throw std::runtime_error("Leptonica cannot write the test image");
    }
    std::vector<std::uint8_t> bytes(data, data + size);
    lept_free(data);
    return bytes;
}

UniquePix Filled(std::uint32_t width, std::uint32_t height, Rgba colour) {
    UniquePix pix(pixCreate(static_cast<l_int32>(width), static_cast<l_int32>(height), 32));
    l_uint32 value = 0;
    composeRGBAPixel(colour.r, colour.g, colour.b, colour.a, &value);
    pixSetAllArbitrary(pix.get(), value);
    if (colour.a != 255) {
        pixSetSpp(pix.get(), 4);
    }
    return pix;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void PutBigEndian32(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value >> 24);
    at[1] = static_cast<std::uint8_t>(value >> 16);
    at[2] = static_cast<std::uint8_t>(value >> 8);
    at[3] = static_cast<std::uint8_t>(value);
}

}  // namespace

std::vector<std::uint8_t> PngDeclaring(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> png = EncodedHalves(8, 8, IFF_PNG);
    // Signature (8), chunk length (4), "IHDR" (4), then width and height.
    PutBigEndian32(png.data() + 16, width);
    PutBigEndian32(png.data() + 20, height);
    PutBigEndian32(png.data() + 29, Crc32(png.data() + 12, 17));
    return png;
}

std::vector<std::uint8_t> EncodedImage(std::uint32_t width, std::uint32_t height, Rgba colour,
                                       int format) {
    const UniquePix pix = Filled(width, height, colour);
    return Encode(pix.get(), format);
}

std::vector<std::uint8_t> EncodedHalves(std::uint32_t width, std::uint32_t height, int format) {
    const UniquePix pix = Filled(width, height, {255, 255, 255, 255});
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width / 2; ++x) {
            pixSetRGBPixel(pix.get(), static_cast<l_int32>(x), static_cast<l_int32>(y), 0, 0, 0);
        }
    }
    return Encode(pix.get(), format);
}

std::vector<std::uint8_t> WithCommentBlocks(std::vector<std::uint8_t> gif, std::size_t count) {
    std::vector<std::uint8_t> comment{0x21, 0xFE};
    comment.reserve(2 * count + 3);
    for (std::size_t i = 0; i < count; ++i) {
        comment.insert(comment.end(), {1, 'x'});
    }
    comment.push_back(0);
    gif.insert(gif.end() - 1, comment.begin(), comment.end());  // before the trailer 0x3B
    return gif;
}

std::string Base64(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const std::uint32_t n = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        text += {kAlphabet[n >> 18], kAlphabet[(n >> 12) & 63], kAlphabet[(n >> 6) & 63],
                 kAlphabet[n & 63]};
    }
    if (i + 1 == bytes.size()) {
        const std::uint32_t n = bytes[i] << 16;
        text += {kAlphabet[n >> 18], kAlphabet[(n >> 12) & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        const std::uint32_t n = (bytes[i] << 16) | (bytes[i + 1] << 8);
        text += {kAlphabet[n >> 18], kAlphabet[(n >> 12) & 63], kAlphabet[(n >> 6) & 63], '='};
    }
    return text;
}

std::vector<std::uint8_t> RenderedText(const std::filesystem::path& file,
                                       const std::vector<std::string>& lines,
                                       const RenderOptions& options) {
    std::vector<std::string> arguments{"/usr/bin/python3", RENDER_TEXT_TOOL, file.string()};
    arguments.insert(arguments.end(), lines.begin(), lines.end());
    arguments.insert(arguments.end(), {"--size", std::to_string(options.fontSize)});
    if (options.padding >= 0) {
        arguments.insert(arguments.end(), {"--padding", std::to_string(options.padding)});
    }
    if (options.width > 0) {
        arguments.insert(arguments.end(), {"--width", std::to_string(options.width)});
    }
    if (options.height > 0) {
        arguments.insert(arguments.end(), {"--height", std::to_string(options.height)});
    }
    if (options.spacing > 0) {
        arguments.insert(arguments.end(), {"--spacing", std::to_string(options.spacing)});
    }
    if (!options.colours.empty()) {
        arguments.insert(arguments.end(), {"--colours", options.colours});
    }
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error("cannot start the text renderer");
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the text renderer failed");
    }
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ScratchFolder::ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "glyphsnap-ocr-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch folder");
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace glyphsnap::testing
