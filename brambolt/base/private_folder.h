// Folders of the elevated program that the user's other processes must not write: the per-user
// data folder and the web views' user data folder, both under the user's own profile.
#pragma once

#include <string>

namespace brambolt {

// Creates the folder (its parent must exist) or finds it, and then gives it an explicit,
// protected access list: full control for SYSTEM and Administrators, inherited by everything
// created inside, nothing for anyone else; Administrators become its owner, so that the user
// keeps no implicit right to change that list. False, with nothing changed, when the folder is
// a reparse point (a junction or a link could lead anywhere) or no directory, or when any step
// fails.
bool PreparePrivateFolder(const std::wstring& folder);

}  // namespace brambolt
