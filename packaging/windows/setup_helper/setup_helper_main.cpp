// BramboltSetupHelper.exe: what the installer and the uninstaller need from Brambolt's own code.
// It runs elevated, so it is installed into the installation folder and run from there, never
// from a folder the user's other processes can write. Each command is one step:
//   lock-list          exit 10 unless the current user's lock list was read whole and holds no
//                      entries (through the driver's data-folder access when it answers); the
//                      file is only read, never moved or changed
//   other-users        exit 11 when the driver is registered for another Windows user
//   remove-driver      what Brambolt's OK with an empty list does: unload, delete the service key
//                      tree and the lock list file; the SafeBoot entries go with the last user's
//   register-host --folder DIR [--name NAME] --allow ORIGIN_OR_ID[,...]
//                      Glyphsnap.exe in DIR as the current user's native-messaging host
//   unregister-host --folder DIR [--name NAME]
//                      removes the manifests that register-host wrote in DIR under NAME, and the
//                      registrations that name exactly those manifests
//   remove-web-data --folder DIR
//                      removes the web views' data folders: the current user's beside the data
//                      folder, and the one that earlier versions kept beside the program in DIR
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/data_folder_access.h"
#include "brambolt/driver/driver_registration.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/folders/lock_list.h"
#include "brambolt/folders/lock_list_file.h"
#include "host_manifest.h"
#include "tree_removal.h"

namespace {

using brambolt::UniqueFile;
using brambolt::UniqueHkey;

enum ExitCode : int {
    kDone = 0,
    kFailed = 1,
    kUsage = 2,
    kListHoldsEntries = 10,
    kOtherUsersRegistered = 11,
};

constexpr wchar_t kServicesKey[] = L"SYSTEM\\CurrentControlSet\\Services";
constexpr wchar_t kServicePrefix[] = L"TARNBRT_";
constexpr const wchar_t* kSafeBootKeys[] = {
    L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Minimal\\TarnBrambolt.sys",
    L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot\\Network\\TarnBrambolt.sys",
};

struct HostParent {
    const wchar_t* key;  // under HKEY_CURRENT_USER
    bool firefox;
};
constexpr HostParent kHostParents[] = {
    {L"Software\\Google\\Chrome\\NativeMessagingHosts", false},
    {L"Software\\Microsoft\\Edge\\NativeMessagingHosts", false},
    {L"Software\\Chromium\\NativeMessagingHosts", false},
    {L"Software\\Mozilla\\NativeMessagingHosts", true},
};

std::string Utf8(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring Wide(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

void Say(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

// Registry key names compare without regard to case.
bool SameName(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool StartsWithName(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

std::vector<std::wstring> SubkeyNames(HKEY root, const wchar_t* path) {
    std::vector<std::wstring> names;
    UniqueHkey key;
    if (RegOpenKeyExW(root, path, 0, KEY_ENUMERATE_SUB_KEYS, key.put()) != ERROR_SUCCESS) {
        return names;
    }
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

std::vector<std::wstring> DriverServices() {
    std::vector<std::wstring> services;
    for (std::wstring& name : SubkeyNames(HKEY_LOCAL_MACHINE, kServicesKey)) {
        if (StartsWithName(name, kServicePrefix)) {
            services.push_back(std::move(name));
        }
    }
    return services;
}

brambolt::LockListLoad ReadLockListOnly(const std::wstring& path, brambolt::LockList& list) {
    if (brambolt::PingDriver()) {
        // The driver refuses every access to its data folder until it is opened for us.
        const brambolt::DataFolderAccess access;
        return brambolt::LoadLockListFile(path, list);
    }
    return brambolt::LoadLockListFile(path, list);
}

// A list that could not be read whole may name folders that are protected: only a list read whole
// and empty, or no list at all, lets the uninstaller go on.
int LockListCommand() {
    const std::optional<std::wstring> path = brambolt::GetLockListPath();
    if (!path) {
        Say("the lock list's path could not be formed");
        return kListHoldsEntries;
    }
    brambolt::LockList list;
    switch (ReadLockListOnly(*path, list)) {
        case brambolt::LockListLoad::kMissing:
            Say("entries: 0 (no list file)");
            return kDone;
        case brambolt::LockListLoad::kUnreadable:
            Say("the lock list could not be read whole");
            return kListHoldsEntries;
        case brambolt::LockListLoad::kRead:
            break;
    }
    Say("entries: " + std::to_string(list.Count()));
    return list.Count() > 0 ? kListHoldsEntries : kDone;
}

int OtherUsersCommand() {
    const std::wstring own = brambolt::GetDriverServiceName();
    int result = kDone;
    for (const std::wstring& service : DriverServices()) {
        if (!SameName(service, own)) {
            Say("registered for another user: " + Utf8(service));
            result = kOtherUsersRegistered;
        }
    }
    return result;
}

int RemoveDriverCommand() {
    brambolt::UninstallDriver();
    if (DriverServices().empty()) {
        for (const wchar_t* key : kSafeBootKeys) {
            brambolt::DeleteRegistryTree(HKEY_LOCAL_MACHINE, key);
        }
    }
    return kDone;
}

std::optional<std::wstring> Option(const std::vector<std::wstring>& args, std::wstring_view name) {
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == name) {
            return args[i + 1];
        }
    }
    return std::nullopt;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

bool SetDefaultValue(const std::wstring& subkey, const std::wstring& value) {
    UniqueHkey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), nullptr, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

int RegisterHostCommand(const std::vector<std::wstring>& args) {
    const auto folder = Option(args, L"--folder");
    const auto allow = Option(args, L"--allow");
    const std::string name = Utf8(Option(args, L"--name").value_or(L""));
    const std::string hostName = name.empty() ? std::string(setup_helper::kDefaultHostName) : name;
    if (!folder || !allow) {
        Say("register-host needs --folder and --allow");
        return kUsage;
    }
    if (!setup_helper::IsValidHostName(hostName)) {
        Say("bad host name " + hostName +
            ": lower-case letters, digits and _ in parts joined by single dots");
        return kUsage;
    }
    const auto split = setup_helper::SplitAllowed(Utf8(*allow));
    if (split.error) {
        Say(*split.error);
        return kUsage;
    }
    const auto& allowed = split.allowed;
    if (allowed.chromiumOrigins.empty() && allowed.firefoxIds.empty()) {
        Say("nothing to register: name the allowed extensions");
        return kUsage;
    }
    const std::wstring program = *folder + L"\\Glyphsnap.exe";
    if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Say("no Glyphsnap.exe in " + Utf8(*folder));
        return kFailed;
    }
    const std::wstring wideName = Wide(hostName);
    bool ok = true;
    for (const bool firefox : {false, true}) {
        const auto& values = firefox ? allowed.firefoxIds : allowed.chromiumOrigins;
        if (values.empty()) {
            continue;
        }
        const std::wstring manifest =
            *folder + L"\\" + wideName + (firefox ? L".firefox" : L"") + L".json";
        ok = WriteWholeFile(manifest,
                            setup_helper::ManifestText(
                                hostName, Utf8(program),
                                firefox ? "allowed_extensions" : "allowed_origins", values)) &&
             ok;
        for (const HostParent& parent : kHostParents) {
            if (parent.firefox == firefox) {
                ok = SetDefaultValue(std::wstring(parent.key) + L"\\" + wideName, manifest) && ok;
            }
        }
    }
    return ok ? kDone : kFailed;
}

std::optional<std::wstring> DefaultValue(HKEY parent, const std::wstring& subkey) {
    wchar_t value[MAX_PATH * 2];
    DWORD bytes = sizeof(value);
    if (RegGetValueW(parent, subkey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(value);
}

// The path with "..", "." and repeated separators resolved, as the file system would open it.
std::optional<std::wstring> FullPath(const std::wstring& path) {
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return std::nullopt;
    }
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        return std::nullopt;
    }
    full.resize(length);
    return full;
}

int UnregisterHostCommand(const std::vector<std::wstring>& args) {
    const auto folder = Option(args, L"--folder");
    const std::string name = Utf8(Option(args, L"--name").value_or(L""));
    const std::string hostName = name.empty() ? std::string(setup_helper::kDefaultHostName) : name;
    if (!folder) {
        Say("unregister-host needs --folder");
        return kUsage;
    }
    if (!setup_helper::IsValidHostName(hostName)) {
        Say("bad host name " + hostName);
        return kUsage;
    }
    // Only the manifests register-host wrote, by their own names; a registration is removed only
    // when it names exactly one of them. Whatever else a key names is left alone: the keys are the
    // user's, and any process of the user can write them.
    const std::wstring wideName = Wide(hostName);
    for (const bool firefox : {false, true}) {
        const auto manifest =
            FullPath(*folder + L"\\" + wideName + (firefox ? L".firefox" : L"") + L".json");
        if (!manifest) {
            continue;
        }
        for (const HostParent& parent : kHostParents) {
            if (parent.firefox != firefox) {
                continue;
            }
            const std::wstring subkey = std::wstring(parent.key) + L"\\" + wideName;
            const auto named = DefaultValue(HKEY_CURRENT_USER, subkey);
            const auto namedFull = named ? FullPath(*named) : std::nullopt;
            if (namedFull && SameName(*namedFull, *manifest)) {
                RegDeleteKeyW(HKEY_CURRENT_USER, subkey.c_str());
                Say("removed " + Utf8(subkey));
            }
        }
        if (DeleteFileW(manifest->c_str()) != FALSE) {
            Say("removed " + Utf8(*manifest));
        }
    }
    return kDone;
}

int RemoveWebDataCommand(const std::vector<std::wstring>& args) {
    const auto folder = Option(args, L"--folder");
    if (!folder) {
        Say("remove-web-data needs --folder");
        return kUsage;
    }
    std::vector<std::wstring> webData{*folder + L"\\Brambolt.exe.WebView2"};
    // The user's own lies beside the data folder, under the data folder's name.
    if (const auto list = brambolt::GetLockListPath()) {
        const std::size_t separator = list->find_last_of(L'\\');
        if (separator != std::wstring::npos) {
            webData.push_back(list->substr(0, separator) + L".WebView2");
        }
    }
    int result = kDone;
    for (const std::wstring& path : webData) {
        if (!setup_helper::RemoveTreeWithoutFollowingLinks(path)) {
            Say("could not remove all of " + Utf8(path));
            result = kFailed;
        }
    }
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // fltlib.dll and comctl32.dll are delay-loaded, and only from the system folder: a copy
    // planted beside this program is never loaded.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    const std::wstring command = args.empty() ? L"" : args.front();
    if (command == L"lock-list") {
        return LockListCommand();
    }
    if (command == L"other-users") {
        return OtherUsersCommand();
    }
    if (command == L"remove-driver") {
        return RemoveDriverCommand();
    }
    if (command == L"register-host") {
        return RegisterHostCommand(args);
    }
    if (command == L"unregister-host") {
        return UnregisterHostCommand(args);
    }
    if (command == L"remove-web-data") {
        return RemoveWebDataCommand(args);
    }
    Say("usage: BramboltSetupHelper lock-list | other-users | remove-driver | register-host "
        "--folder DIR [--name NAME] --allow LIST | unregister-host "
        "--folder DIR [--name NAME] | remove-web-data --folder DIR");
    return kUsage;
}
