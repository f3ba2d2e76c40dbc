// Light text on a dark field of a light page (a selected entry, a highlighted row, a default
// button), turned into dark text on the page's own background before reading.
#pragma once

#include "glyphsnap/recognition/tesseract/layout/planes.h"

namespace glyphsnap {

// Each field of `plane` filled with one level far darker than the page's commonest level, as
// wide as at least two of its heights and holding lighter ink, redrawn as the page draws text:
// its fill becomes the page's level and its ink dark in proportion to how light it was. The
// engine's one threshold for the page otherwise takes the whole field for ink and its text for
// holes. On a dark theme's page no field is that much darker. True when any pixel changed.
bool LightenFilledFields(GreyPlane& plane);

}  // namespace glyphsnap
