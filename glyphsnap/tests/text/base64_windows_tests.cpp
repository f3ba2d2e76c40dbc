// The portable decoder against the real CryptStringToBinaryW, on the recorded corpus and on
// generated texts.
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "glyphsnap/tests/text/base64_cases.h"
#include "glyphsnap/text/base64.h"

namespace glyphsnap {
namespace {

// The platform's answer, called as the edit action calls it: the text converted to UTF-16 and
// NUL-terminated, then a size call and a decoding call into a zero-filled buffer.
std::optional<std::string> WindowsDecode(std::string_view text) {
    std::wstring wide;
    if (!text.empty()) {
        const int units =
            MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        wide.resize(static_cast<std::size_t>(units));
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            units);
    }
    DWORD size = 0;
    if (!CryptStringToBinaryW(wide.c_str(), 0, CRYPT_STRING_BASE64, nullptr, &size, nullptr,
                              nullptr)) {
        return std::nullopt;
    }
    std::vector<BYTE> bytes(size, 0);
    if (size > 0 && !CryptStringToBinaryW(wide.c_str(), 0, CRYPT_STRING_BASE64, bytes.data(), &size,
                                          nullptr, nullptr)) {
        return std::nullopt;
    }
    return std::string(bytes.begin(), bytes.end());
}

std::optional<std::string> PortableDecode(std::string_view text) {
    const auto decoded = DecodeBase64(text);
    if (!decoded) {
        return std::nullopt;
    }
    return std::string(decoded->begin(), decoded->end());
}

TEST(Base64AgainstWindows, RecordedAnswersAreTheWindowsAnswers) {
    for (const Base64Case& c : kBase64Cases) {
        const auto windows = WindowsDecode(c.text);
        EXPECT_EQ(windows.has_value(), c.accepted) << c.name;
        if (windows && c.accepted) {
            EXPECT_EQ(*windows, std::string(c.bytes)) << c.name;
        }
        EXPECT_EQ(PortableDecode(c.text), windows) << c.name;
    }
}

TEST(Base64AgainstWindows, GeneratedTextsGetTheSameAnswers) {
    // Short texts over an alphabet dense in the characters where the rules differ.
    constexpr std::string_view alphabet = "QUJD+/=== \t\r\n!\v";
    std::mt19937 random(20261209);
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % 14, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        ASSERT_EQ(PortableDecode(text), WindowsDecode(text)) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace glyphsnap
