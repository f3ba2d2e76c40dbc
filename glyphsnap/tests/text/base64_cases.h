// Tricky Base64 texts and what the Windows decoder (CryptStringToBinaryW with CRYPT_STRING_BASE64)
// answers for each. The Windows test tier checks every answer against the real decoder, the
// native tier checks the portable decoder against the same answers.
#pragma once

#include <array>
#include <string_view>

namespace glyphsnap {

using namespace std::string_view_literals;

struct Base64Case {
    std::string_view name;
    std::string_view text;
    bool accepted;
    std::string_view bytes;  // the whole buffer the decoder announces, when accepted
};

inline constexpr std::array kBase64Cases{
    Base64Case{"one block", "QUJD"sv, true, "ABC"sv},
    Base64Case{"two pads", "QUJDRA=="sv, true, "ABCD"sv},
    Base64Case{"one pad", "QUJDREU="sv, true, "ABCDE"sv},
    Base64Case{"missing two pads", "QUJDRA"sv, true, "ABCD"sv},
    Base64Case{"missing one pad", "QUJDREU"sv, true, "ABCDE"sv},
    Base64Case{"one of two pads", "QUJDRA="sv, false, ""sv},
    Base64Case{"three pads", "QUJDRA==="sv, true, "ABCD"sv},
    Base64Case{"spaces", "QU JD R A= ="sv, true, "ABCD"sv},
    Base64Case{"tabs", "\tQUJD\t"sv, true, "ABC"sv},
    Base64Case{"CR LF lines", "QUJD\r\nRA==\r\n"sv, true, "ABCD"sv},
    Base64Case{"LF alone", "\nQUJD\n"sv, true, "ABC"sv},
    Base64Case{"vertical tab", "QUJD\v"sv, false, ""sv},
    Base64Case{"form feed", "QUJD\f"sv, false, ""sv},
    Base64Case{"no-break space", "QUJD\xC2\xA0"sv, false, ""sv},
    Base64Case{"white space only", " \t\r\n"sv, true, ""sv},
    Base64Case{"empty", ""sv, true, ""sv},
    Base64Case{"lone character", "Q"sv, true, "@"sv},
    Base64Case{"five characters", "QUJDR"sv, true, "ABCD"sv},
    Base64Case{"two characters", "QQ"sv, true, "A"sv},
    Base64Case{"three characters", "QUJ"sv, true, "AB"sv},
    Base64Case{"pad after two", "QQ=="sv, true, "A"sv},
    Base64Case{"one pad after two", "QQ="sv, false, ""sv},
    Base64Case{"pad after three", "QUJ="sv, true, "AB"sv},
    Base64Case{"pad after one", "Q="sv, false, ""sv},
    Base64Case{"three pads after one", "Q==="sv, true, "@"sv},
    Base64Case{"data after a pad", "QQ=Q"sv, false, ""sv},
    Base64Case{"padding in the middle", "QQ==QUJD"sv, true, "A"sv},
    Base64Case{"pad after a whole block", "QUJD=QUJD"sv, true, "ABC"sv},
    Base64Case{"padding only", "===="sv, true, ""sv},
    Base64Case{"leading pad", "=QUJD"sv, true, ""sv},
    Base64Case{"invalid after padding", "QQ==!!"sv, true, "A"sv},
    Base64Case{"exclamation mark", "QU!D"sv, false, ""sv},
    Base64Case{"URL-safe alphabet", "-_-_"sv, false, ""sv},
    Base64Case{"non-ASCII letter", "QUJD\xC3\xA4"sv, false, ""sv},
    Base64Case{"quotation mark", "\"QUJD\""sv, false, ""sv},
    Base64Case{"comma", "a,QUJD"sv, false, ""sv},
    Base64Case{"NUL ends the text", "QUJD\0!!"sv, true, "ABC"sv},
    Base64Case{"NUL first", "\0QUJD"sv, true, ""sv},
    Base64Case{"unused bits set", "QR=="sv, true, "A"sv},
    Base64Case{"all values", "+/+/"sv, true, "\xFB\xFF\xBF"sv},
};

}  // namespace glyphsnap
