#include "tree_removal.h"

#include <windows.h>

#include "brambolt/base/unique_handle.h"

namespace setup_helper {
namespace {

bool IsLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool IsFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RemoveName(const std::wstring& path, DWORD attributes) {
    // A read-only file or link is still ours to remove.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesW(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    }
    return IsFolder(attributes) ? RemoveDirectoryW(path.c_str()) != FALSE
                                : DeleteFileW(path.c_str()) != FALSE;
}

bool RemoveContents(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const brambolt::UniqueFindHandle search(FindFirstFileExW(
        (folder + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!search) {
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    bool removedAll = true;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const std::wstring path = folder + L"\\" + name;
        const DWORD attributes = found.dwFileAttributes;
        if (IsFolder(attributes) && !IsLink(attributes)) {
            removedAll = RemoveContents(path) && removedAll;
        }
        removedAll = RemoveName(path, attributes) && removedAll;
    } while (FindNextFileW(search.get(), &found) != FALSE);
    return removedAll;
}

}  // namespace

bool RemoveTreeWithoutFollowingLinks(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    if (IsFolder(attributes) && !IsLink(attributes) && !RemoveContents(folder)) {
        return false;
    }
    return RemoveName(folder, attributes);
}

}  // namespace setup_helper
