// What Glyphsnap needs from the operating system; one implementation per platform.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glyphsnap {

#ifdef _WIN32
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif

struct FileCloser {
    void operator()(std::FILE* file) const { (void)std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

struct EditImageFile {
    NativePath path;
    UniqueFile stream;  // open for binary writing
};

// Prepares standard input and output to carry bytes untranslated.
void InitialiseProcess();

// The decoded bytes of Base64 text (UTF-8); empty when the text does not decode.
std::vector<std::uint8_t> DecodeImageText(std::string_view text);

// Opens the cache file in the user's temporary folder for writing, or the fallback file when an
// old cache file cannot be removed. Nothing when no file can be created.
std::optional<EditImageFile> OpenEditImageFile();

// Starts the paint program on `path` and returns at once; whether it started is not reported.
void StartPaintProgram(const NativePath& path);

}  // namespace glyphsnap
