#include "brambolt/framework/dpi_scale_rules.h"

#include <cstdint>
#include <limits>

namespace brambolt {

int ScaleForDpi(int length, int dpi) noexcept {
    if (dpi <= 0) {
        return -1;
    }
    const std::int64_t product = std::int64_t{length} * dpi;
    const std::int64_t magnitude = (product < 0 ? -product : product) + kLogicalDpi / 2;
    const std::int64_t rounded = (product < 0 ? -1 : 1) * (magnitude / kLogicalDpi);
    if (rounded > std::numeric_limits<int>::max() || rounded < std::numeric_limits<int>::min()) {
        return -1;
    }
    return static_cast<int>(rounded);
}

}  // namespace brambolt
