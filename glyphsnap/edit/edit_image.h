#pragma once

#include <iosfwd>
#include <string_view>

namespace glyphsnap {

// Stores the decoded image in the user's temporary folder, opens it in the paint program without
// waiting for it, and writes exactly one reply frame to `out`.
void EditImage(std::string_view image, std::ostream& out);

}  // namespace glyphsnap
