// Where the recognizer module lies relative to the program: beside it in the build folder, and in
// the program's own library folder once installed.
#pragma once

#include <filesystem>
#include <optional>

namespace glyphsnap {

// The module for the program in `programFolder`, or nothing when neither place holds it. The
// working folder plays no part, so the program finds its module wherever it is started from.
std::optional<std::filesystem::path> FindRecognizerModule(
    const std::filesystem::path& programFolder);

}  // namespace glyphsnap
