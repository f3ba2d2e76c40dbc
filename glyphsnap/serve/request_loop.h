#pragma once

#include <iosfwd>

#include "glyphsnap/serve/request_handler.h"

namespace glyphsnap {

// Serves framed requests from `in` one at a time until the input ends or a zero-length frame
// arrives. Returns the program's exit code.
int RunRequestLoop(std::istream& in, std::ostream& out, RequestActions& actions);

}  // namespace glyphsnap
