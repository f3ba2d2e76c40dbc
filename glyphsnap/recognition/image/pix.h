// Leptonica's images, owned.
#pragma once

#include <leptonica/allheaders.h>

#include <memory>

namespace glyphsnap {

struct PixDeleter {
    void operator()(Pix* pix) const { pixDestroy(&pix); }
};
using UniquePix = std::unique_ptr<Pix, PixDeleter>;

}  // namespace glyphsnap
