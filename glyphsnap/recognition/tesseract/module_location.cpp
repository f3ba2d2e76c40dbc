#include "glyphsnap/recognition/tesseract/module_location.h"

#include <array>
#include <system_error>

#include "glyphsnap/recognition/tesseract/module.h"

// GLYPHSNAP_MODULE_FOLDER_FROM_PROGRAM: the installed library folder relative to the installed
// program folder, set by the build from its install layout, so that any install prefix works.
#ifndef GLYPHSNAP_MODULE_FOLDER_FROM_PROGRAM
#error "the build names the module folder relative to the program folder"
#endif

namespace glyphsnap {

std::optional<std::filesystem::path> FindRecognizerModule(
    const std::filesystem::path& programFolder) {
    const std::array candidates{
        programFolder / kRecognizerModuleName,
        programFolder / GLYPHSNAP_MODULE_FOLDER_FROM_PROGRAM / kRecognizerModuleName,
    };
    for (const std::filesystem::path& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return candidate.lexically_normal();
        }
    }
    return std::nullopt;
}

}  // namespace glyphsnap
