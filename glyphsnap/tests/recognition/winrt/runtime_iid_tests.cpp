// The identifiers of generic instantiations, checked against instantiations whose identifiers
// mingw-w64's Windows Runtime headers carry (windows.foundation.h,
// windows.media.speechsynthesis.h): plain type arguments, runtime classes and interfaces as type
// arguments.
#include <gtest/gtest.h>

#include <string_view>

#include "glyphsnap/recognition/winrt/runtime_iid.h"

namespace glyphsnap {
namespace {

constexpr RuntimeIid Iid(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3,
                         std::array<std::uint8_t, 8> d4) {
    return RuntimeIid{d1, d2, d3, d4};
}

struct KnownInstantiation {
    std::string_view name;
    std::string_view signature;
    RuntimeIid iid;
};

constexpr std::string_view kAsyncOperation = "{9fc2b0bb-e446-44e2-aa61-9cab8f636af2}";

TEST(ParameterizedIid, MatchesTheInstantiationsMingwCarries) {
    const KnownInstantiation cases[] = {
        {"IAsyncOperation<boolean>", "pinterface({9fc2b0bb-e446-44e2-aa61-9cab8f636af2};b1)",
         Iid(0xcdb5efb3, 0x5788, 0x509d, {0x9b, 0xe1, 0x71, 0xcc, 0xb8, 0xa3, 0x36, 0x2a})},
        {"AsyncOperationCompletedHandler<boolean>",
         "pinterface({fcdcf02c-e5d8-4478-915a-4d90b74b83a5};b1)",
         Iid(0xc1d3d1a2, 0xae17, 0x5a5f, {0xb5, 0xa2, 0xbd, 0xcc, 0x88, 0x44, 0x88, 0x9a})},
        // mingw-w64 10 carries fca5679c-bfd4-5187-8b2d-de225049b346 for this one; the Windows
        // SDK's headers and every other projection carry this identifier.
        {"IVectorView<HSTRING>", "pinterface({bbe1fa4c-b0e3-4583-baef-1f1b2e483e56};string)",
         Iid(0x2f13c006, 0xa03a, 0x5f69, {0xb0, 0x90, 0x75, 0xa4, 0x3e, 0x33, 0x42, 0x3e})},
        {"IVectorView<VoiceInformation>",
         "pinterface({bbe1fa4c-b0e3-4583-baef-1f1b2e483e56};rc(Windows.Media.SpeechSynthesis."
         "VoiceInformation;{b127d6a4-1291-4604-aa9c-83134083352c}))",
         Iid(0xee8d63ce, 0x51ac, 0x5984, {0x89, 0x1b, 0xd2, 0x32, 0xfa, 0x7f, 0x64, 0x53})},
        {"IVectorView<IMediaMarker>",
         "pinterface({bbe1fa4c-b0e3-4583-baef-1f1b2e483e56};{1803def8-dca5-4b6f-9c20-e3d3c0643625}"
         ")",
         Iid(0xb543562c, 0x02b1, 0x5824, {0x80, 0xa8, 0x98, 0x54, 0x13, 0x0c, 0xda, 0xdd})},
        {"IAsyncOperation<SpeechSynthesisStream>",
         "pinterface({9fc2b0bb-e446-44e2-aa61-9cab8f636af2};rc(Windows.Media.SpeechSynthesis."
         "SpeechSynthesisStream;{83e46e93-244c-4622-ba0b-6229c4d0d65d}))",
         Iid(0xdf9d48ad, 0x9cea, 0x560c, {0x9e, 0xdc, 0xcb, 0x88, 0x52, 0xcb, 0x55, 0xe3})},
        {"AsyncOperationCompletedHandler<SpeechSynthesisStream>",
         "pinterface({fcdcf02c-e5d8-4478-915a-4d90b74b83a5};rc(Windows.Media.SpeechSynthesis."
         "SpeechSynthesisStream;{83e46e93-244c-4622-ba0b-6229c4d0d65d}))",
         Iid(0xc972b996, 0x6165, 0x50d4, {0xaf, 0x60, 0xa8, 0xc3, 0xdf, 0x51, 0xd0, 0x92})},
    };
    for (const KnownInstantiation& known : cases) {
        EXPECT_EQ(ParameterizedIid({known.signature}), known.iid) << known.name;
    }
}

// The identifiers are known at compile time, and the parts of a signature are hashed as one text.
static_assert(ParameterizedIid({"pinterface(", kAsyncOperation, ";", "b1", ")"}) ==
              Iid(0xcdb5efb3, 0x5788, 0x509d, {0x9b, 0xe1, 0x71, 0xcc, 0xb8, 0xa3, 0x36, 0x2a}));

TEST(Sha1, DigestOfTheStandardTestVectors) {
    Sha1 abc;
    abc.Update("abc");
    EXPECT_EQ(abc.Finish(),
              (Sha1::Digest{0xa9, 0x99, 0x3e, 0x36, 0x47, 0x06, 0x81, 0x6a, 0xba, 0x3e,
                            0x25, 0x71, 0x78, 0x50, 0xc2, 0x6c, 0x9c, 0xd0, 0xd8, 0x9d}));
    Sha1 twoBlocks;
    twoBlocks.Update("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq");
    EXPECT_EQ(twoBlocks.Finish(),
              (Sha1::Digest{0x84, 0x98, 0x3e, 0x44, 0x1c, 0x3b, 0xd2, 0x6e, 0xba, 0xae,
                            0x4a, 0xa1, 0xf9, 0x51, 0x29, 0xe5, 0xe5, 0x46, 0x70, 0xf1}));
}

}  // namespace
}  // namespace glyphsnap
