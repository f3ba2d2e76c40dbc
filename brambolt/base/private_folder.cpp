#include "brambolt/base/private_folder.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include "brambolt/base/unique_handle.h"

namespace brambolt {
namespace {

// Owner Administrators; a protected list (no entries inherited from the user's profile) of two
// entries, full file access for SYSTEM and for Administrators, inherited by files and folders.
constexpr wchar_t kPrivateFolderSecurity[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

UniqueHlocal PrivateFolderDescriptor() {
    UniqueHlocal descriptor;
    PSECURITY_DESCRIPTOR made = nullptr;
    if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(
            kPrivateFolderSecurity, SDDL_REVISION_1, &made, nullptr) != FALSE) {
        descriptor.reset(made);
    }
    return descriptor;
}

bool IsPlainDirectory(HANDLE folder) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileInformationByHandle(folder, &information) == FALSE) {
        return false;
    }
    const DWORD attributes = information.dwFileAttributes;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

}  // namespace

bool PreparePrivateFolder(const std::wstring& folder) {
    const UniqueHlocal descriptor = PrivateFolderDescriptor();
    if (!descriptor) {
        return false;
    }
    // A folder made here has the list from its first moment.
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.get(), FALSE};
    if (::CreateDirectoryW(folder.c_str(), &attributes) == FALSE &&
        ::GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    // Opened as it is, never through a reparse point at its own name, and checked and changed
    // through that one handle, so no swap between the check and the change can redirect it.
    const UniqueFile opened(::CreateFileW(
        folder.c_str(), READ_CONTROL | WRITE_DAC | WRITE_OWNER | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!opened || !IsPlainDirectory(opened.get())) {
        return false;
    }
    const DWORD pathAttributes = ::GetFileAttributesW(folder.c_str());
    if (pathAttributes == INVALID_FILE_ATTRIBUTES ||
        (pathAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return false;
    }
    PSID owner = nullptr;
    BOOL ownerDefaulted = FALSE;
    PACL list = nullptr;
    BOOL listPresent = FALSE;
    BOOL listDefaulted = FALSE;
    if (::GetSecurityDescriptorOwner(descriptor.get(), &owner, &ownerDefaulted) == FALSE ||
        ::GetSecurityDescriptorDacl(descriptor.get(), &listPresent, &list, &listDefaulted) ==
            FALSE ||
        listPresent == FALSE) {
        return false;
    }
    return ::SetSecurityInfo(opened.get(), SE_FILE_OBJECT,
                             OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                 PROTECTED_DACL_SECURITY_INFORMATION,
                             owner, nullptr, list, nullptr) == ERROR_SUCCESS;
}

}  // namespace brambolt
