// Removing a folder that the program's web views filled, without ever leaving it: a link or
// junction inside it is removed as a name, and what it points at is never touched.
#pragma once

#include <string>

namespace setup_helper {

// Removes the folder and everything in it. A folder that is itself a link or junction loses only
// the link. True when nothing is left at the path (a missing folder included).
bool RemoveTreeWithoutFollowingLinks(const std::wstring& folder);

}  // namespace setup_helper
