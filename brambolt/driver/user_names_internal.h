// Observation points of the SID cache for the program's own tests.
#pragma once

#include <cstddef>

namespace brambolt::internal {

// How many times the process token has been queried for its user so far.
std::size_t SidTokenReadCount() noexcept;

}  // namespace brambolt::internal
