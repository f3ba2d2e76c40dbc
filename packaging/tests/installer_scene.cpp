#include "installer_scene.h"

#include <objbase.h>
#include <shlobj.h>

#include <cwchar>
#include <thread>
#include <vector>

#include "automation.h"
#include "brambolt/base/unique_handle.h"
#include "brambolt/driver/driver_registration.h"
#include "brambolt/driver/user_names.h"

namespace installer_scene {
namespace {

constexpr auto kProgramBound = 180s;

}  // namespace

std::optional<DWORD> Run(const std::wstring& program, const std::wstring& arguments) {
    auto started = winauto::StartProgram(program, arguments);
    if (!started) {
        return std::nullopt;
    }
    return winauto::WaitForExit(started->process.get(), kProgramBound);
}

std::optional<DWORD> RunCommandLine(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return std::nullopt;
    }
    const brambolt::UniqueHandle thread(info.hThread);
    const brambolt::UniqueHandle process(info.hProcess);
    return winauto::WaitForExit(process.get(), kProgramBound);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitUntilGone(const std::wstring& path) {
    const auto end = std::chrono::steady_clock::now() + kProgramBound;
    while (Exists(path)) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(200ms);
    }
    return true;
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
    const brambolt::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    const brambolt::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

std::optional<std::wstring> RegistryText(HKEY root, const std::wstring& key, const wchar_t* value) {
    wchar_t text[1024];
    DWORD bytes = sizeof(text);
    if (RegGetValueW(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(text);
}

std::optional<std::uint32_t> RegistryNumber(HKEY root, const std::wstring& key,
                                            const wchar_t* value) {
    DWORD number = 0;
    DWORD bytes = sizeof(number);
    if (RegGetValueW(root, key.c_str(), value, RRF_RT_REG_DWORD, nullptr, &number, &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return number;
}

bool KeyExists(HKEY root, const std::wstring& key) {
    brambolt::UniqueHkey opened;
    return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

bool WriteRegistryText(HKEY root, const std::wstring& key, const wchar_t* value,
                       const std::wstring& text) {
    brambolt::UniqueHkey opened;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, opened.put(),
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return RegSetValueExW(opened.get(), value, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void DeleteKeyTree(HKEY root, const std::wstring& key) {
    brambolt::DeleteRegistryTree(root, key);
}

std::optional<std::wstring> FileVersionText(const std::wstring& program) {
    const DWORD size = GetFileVersionInfoSizeW(program.c_str(), nullptr);
    std::vector<BYTE> info(size);
    if (size == 0 || !GetFileVersionInfoW(program.c_str(), 0, size, info.data())) {
        return std::nullopt;
    }
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation)) {
        return std::nullopt;
    }
    wchar_t query[64];
    swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion", translation->language,
             translation->codePage);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(info.data(), query, reinterpret_cast<void**>(&text), &length)) {
        return std::nullopt;
    }
    return std::wstring(text);
}

std::optional<std::wstring> ShortcutTarget(const std::wstring& link) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return std::nullopt;
    }
    std::optional<std::wstring> target;
    IShellLinkW* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(
                shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
                SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0))) {
                target = path;
            }
            file->Release();
        }
        shellLink->Release();
    }
    CoUninitialize();
    return target;
}

std::wstring LockListFile() {
    return brambolt::GetLockListPath().value_or(L"");
}

std::wstring CredentialRecordFile() {
    return brambolt::GetCredentialRecordPath().value_or(L"");
}

std::wstring OwnServiceKey() {
    return brambolt::DriverServiceKey(brambolt::GetDriverServiceName());
}

HeldMutex::HeldMutex(const wchar_t* name) : handle_(CreateMutexW(nullptr, TRUE, name)) {}

HeldMutex::~HeldMutex() {
    if (handle_) {
        ReleaseMutex(handle_.get());
    }
}

}  // namespace installer_scene
