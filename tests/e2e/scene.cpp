#include "scene.h"

#include <thread>

#include "brambolt/base/unique_handle.h"

namespace e2e {

namespace {

constexpr wchar_t kRavelinKey[] = L"Software\\Ravelin";

void DeleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const brambolt::UniqueFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                DeleteTree(path);
            } else {
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(search.get(), &found) != FALSE);
    }
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

std::wstring PrepareInstallation(const std::wstring& sceneName, const std::wstring& program,
                                 bool withDriverFile) {
    const std::wstring root = WindowsPath(E2E_WORK_DIR);
    ::CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring folder = root + L"\\" + sceneName;
    DeleteTree(folder);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring name = program.substr(program.find_last_of(L'\\') + 1);
    std::wstring copy = folder + L"\\" + name;
    if (::CopyFileW(program.c_str(), copy.c_str(), FALSE) == FALSE) {
        return {};
    }
    if (withDriverFile) {
        // Any file serves: the program only checks that it exists.
        const brambolt::UniqueFile driver(::CreateFileW((folder + L"\\TarnBrambolt.sys").c_str(),
                                                        GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!driver) {
            return {};
        }
    }
    return copy;
}

std::optional<std::vector<std::uint8_t>> ReadFileShared(const std::wstring& path) {
    const brambolt::UniqueFile file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
        bytes.insert(bytes.end(), chunk, chunk + read);
    }
    return bytes;
}

bool MutexExists(const wchar_t* name) {
    const brambolt::UniqueHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, name));
    return mutex.valid();
}

std::optional<std::uint64_t> StoredWindowValue() {
    std::uint64_t value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kRavelinKey, L"KDWND", RRF_RT_ANY, &type, &value,
                       &size) != ERROR_SUCCESS ||
        type != REG_QWORD || size != sizeof(value)) {
        return std::nullopt;
    }
    return value;
}

void DeleteStoredWindowValue() {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRavelinKey, L"KDWND");
}

void WriteStoredWindowValue(std::uint64_t value) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kRavelinKey, L"KDWND", REG_QWORD, &value, sizeof(value));
}

bool DrainPostedMessages(HWND dialog, int listBoxId) {
    // A posted LB_SETITEMHEIGHT changes the list box's row height by one pixel: harmless, and
    // visible through LB_GETITEMHEIGHT only once processed. The list box shares the dialog's
    // thread, so its posted messages queue behind the dialog's. The old height is put back.
    HWND list = ::GetDlgItem(dialog, listBoxId);
    DWORD_PTR height = 0;
    if (list == nullptr ||
        ::SendMessageTimeoutW(list, LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 5000, &height) == 0) {
        return false;
    }
    const auto waitForHeight = [list](DWORD_PTR wanted) {
        const auto end = std::chrono::steady_clock::now() + kWindowBound;
        DWORD_PTR now = 0;
        while (std::chrono::steady_clock::now() < end) {
            ::SendMessageTimeoutW(list, LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 5000, &now);
            if (now == wanted) {
                return true;
            }
            std::this_thread::sleep_for(20ms);
        }
        return false;
    };
    ::PostMessageW(list, LB_SETITEMHEIGHT, 0, static_cast<LPARAM>(height + 1));
    const bool drained = waitForHeight(height + 1);
    ::PostMessageW(list, LB_SETITEMHEIGHT, 0, static_cast<LPARAM>(height));
    return drained && waitForHeight(height);
}

bool WaitUntilVisible(HWND window, bool visible) {
    return WaitUntil([window, visible] { return (::IsWindowVisible(window) != FALSE) == visible; });
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) {
            return true;
        }
        // Not more often: a condition that reads the list file while a commit saves it makes the
        // save fail (the program replaces the file), so each look must leave the commits room.
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

std::vector<HWND> VisibleWindowsUntilExit(const winauto::StartedProcess& process,
                                          std::optional<DWORD>& exitCode) {
    std::vector<HWND> seen;
    winauto::WindowQuery query;
    query.processId = process.processId;
    query.visibleOnly = true;
    const auto end = std::chrono::steady_clock::now() + kExitBound;
    while (std::chrono::steady_clock::now() < end) {
        for (HWND window : winauto::FindTopLevelWindows(query)) {
            seen.push_back(window);
        }
        exitCode = winauto::WaitForExit(process.process.get(), 10ms);
        if (exitCode.has_value()) {
            return seen;
        }
    }
    return seen;
}

std::wstring ScreenshotFolder() {
    std::wstring folder = WindowsPath(E2E_SCREENSHOT_DIR);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

}  // namespace e2e
