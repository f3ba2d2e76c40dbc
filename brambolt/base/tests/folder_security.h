// What the safety tests of the data folders plant and read back under Wine: a Unix symbolic link
// (Wine shows it as a link to the Windows side), and a folder's access list as stored.
#pragma once

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace brambolt::testing {

// A Unix symbolic link at link pointing at target, both Windows paths, made by the host's "ln"
// through Wine's own calls; false outside Wine or when "ln" fails.
bool PlantUnixLink(const std::wstring& target, const std::wstring& link);
// Removes such a link by the host's "rm" (Wine's own removal would follow it).
bool RemoveUnixLink(const std::wstring& link);

struct AccessEntry {
    std::wstring sid;  // as S-1-5-...
    ACCESS_MASK mask;
    BYTE flags;  // inheritance
    bool operator==(const AccessEntry&) const = default;
};
void PrintTo(const AccessEntry& entry, std::ostream* out);

struct FolderAccessList {
    bool isProtected = false;  // no entries inherited from the parent
    std::vector<AccessEntry> entries;
};

// The folder's access list read back through a handle; nullopt when it cannot be read.
std::optional<FolderAccessList> ReadFolderAccessList(const std::wstring& folder);

// Whether this system keeps a folder's access list as given: Windows does; Wine derives the list
// it reports from the host file's mode bits and keeps no protected list, so there only a real
// Windows machine can show the list a folder was given. Probed once on a scratch folder.
bool SystemKeepsAccessLists();

}  // namespace brambolt::testing
