#include "brambolt/base/tests/folder_security.h"

#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "brambolt/base/tests/test_folder.h"
#include "brambolt/base/unique_handle.h"

namespace brambolt::testing {
namespace {

// Wine's exports: a Windows path as the host's path (heap memory of the process), and a host
// program started with an argument vector.
using UnixFileNameFunction = char*(CDECL*)(LPCWSTR);
using UnixSpawnFunction = NTSTATUS(CDECL*)(char* const* argv, int wait);

template <typename Function>
Function WineExport(const wchar_t* module, const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(module), name)));
}

std::optional<std::string> UnixPath(const std::wstring& path) {
    const auto unixFileName =
        WineExport<UnixFileNameFunction>(L"kernel32.dll", "wine_get_unix_file_name");
    if (unixFileName == nullptr) {
        return std::nullopt;
    }
    char* name = unixFileName(path.c_str());
    if (name == nullptr) {
        return std::nullopt;
    }
    std::string copy(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return copy;
}

// Runs a host program with its arguments and waits for it; true when it exits with 0.
bool RunHostProgram(std::vector<std::string> arguments) {
    const auto spawn = WineExport<UnixSpawnFunction>(L"ntdll.dll", "__wine_unix_spawnvp");
    if (spawn == nullptr) {
        return false;
    }
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return spawn(argv.data(), TRUE) == 0;
}

}  // namespace

bool PlantUnixLink(const std::wstring& target, const std::wstring& link) {
    const std::optional<std::string> unixTarget = UnixPath(target);
    const std::optional<std::string> unixLink = UnixPath(link);
    // -f -n: a link left by an earlier run is replaced, never followed.
    return unixTarget && unixLink && RunHostProgram({"ln", "-sfn", *unixTarget, *unixLink}) &&
           ::GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RemoveUnixLink(const std::wstring& link) {
    const std::optional<std::string> unixLink = UnixPath(link);
    return unixLink && RunHostProgram({"rm", "-f", *unixLink});
}

std::optional<FolderAccessList> ReadFolderAccessList(const std::wstring& folder) {
    const UniqueFile opened(::CreateFileW(
        folder.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!opened ||
        ::GetSecurityInfo(opened.get(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                          &list, nullptr, &descriptor) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const UniqueHlocal owned(descriptor);
    FolderAccessList read;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ::GetSecurityDescriptorControl(descriptor, &control, &revision);
    read.isProtected = (control & SE_DACL_PROTECTED) != 0;
    for (DWORD index = 0; list != nullptr && index < list->AceCount; ++index) {
        void* entry = nullptr;
        if (::GetAce(list, index, &entry) == FALSE) {
            return std::nullopt;
        }
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
            read.entries.push_back({L"(not an allow entry)", 0, header->AceFlags});
            continue;
        }
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        LPWSTR text = nullptr;
        if (::ConvertSidToStringSidW(&allowed->SidStart, &text) == FALSE) {
            return std::nullopt;
        }
        read.entries.push_back({text, allowed->Mask, header->AceFlags});
        ::LocalFree(text);
    }
    return read;
}

void PrintTo(const AccessEntry& entry, std::ostream* out) {
    *out << std::string(entry.sid.begin(), entry.sid.end()) << " mask 0x" << std::hex << entry.mask
         << " flags 0x" << static_cast<unsigned>(entry.flags) << std::dec;
}

bool SystemKeepsAccessLists() {
    static const bool keeps = [] {
        const TestFolder scratch;
        PSECURITY_DESCRIPTOR made = nullptr;
        if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                L"D:P(A;OICI;FA;;;BA)", SDDL_REVISION_1, &made, nullptr) == FALSE) {
            return false;
        }
        const UniqueHlocal descriptor(made);
        PACL list = nullptr;
        BOOL present = FALSE;
        BOOL defaulted = FALSE;
        ::GetSecurityDescriptorDacl(descriptor.get(), &present, &list, &defaulted);
        std::wstring path = scratch.path();
        if (::SetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, list, nullptr) != ERROR_SUCCESS) {
            return false;
        }
        const std::optional<FolderAccessList> read = ReadFolderAccessList(path);
        return read.has_value() && read->isProtected;
    }();
    return keeps;
}

}  // namespace brambolt::testing
