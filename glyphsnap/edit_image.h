#pragma once

#include <iosfwd>
#include <string>

namespace glyphsnap {

// Stores the decoded image in the user's temporary folder, opens it in the paint program without
// waiting for it, and writes exactly one reply frame to `out`.
void EditImage(const std::string& image, std::ostream& out);

}  // namespace glyphsnap
