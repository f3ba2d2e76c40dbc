#include "glyphsnap/platform/edit_file_name.h"

namespace glyphsnap {

std::string FallbackEditFileName(std::uint64_t tickCount, unsigned attempt) {
    std::string name = "vorlin_ocr_edit_" + std::to_string(tickCount);
    if (attempt > 0) {
        name += "_" + std::to_string(attempt);
    }
    return name + ".png";
}

}  // namespace glyphsnap
