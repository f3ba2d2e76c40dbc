#include "brambolt/folders/window_handle_store.h"

#include "brambolt/base/unique_handle.h"

namespace brambolt {

namespace {

constexpr wchar_t kRavelinKey[] = L"Software\\Ravelin";
constexpr wchar_t kWindowValue[] = L"KDWND";

// "Software\Ravelin" of the current user's hive, created when missing.
UniqueHkey OpenRavelinKey() {
    UniqueHkey currentUser;
    if (::RegOpenCurrentUser(KEY_ALL_ACCESS, currentUser.put()) != ERROR_SUCCESS) {
        currentUser.reset();
    }
    HKEY root = currentUser ? currentUser.get() : HKEY_CURRENT_USER;
    UniqueHkey ravelin;
    if (::RegCreateKeyExW(root, kRavelinKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, ravelin.put(), nullptr) != ERROR_SUCCESS) {
        ravelin.reset();
    }
    return ravelin;
}

}  // namespace

std::uint64_t ReadStoredWindowHandle() {
    const UniqueHkey key = OpenRavelinKey();
    if (!key) {
        return 0;
    }
    std::uint64_t handle = 0;
    DWORD size = sizeof(handle);
    if (::RegQueryValueExW(key.get(), kWindowValue, nullptr, nullptr,
                           reinterpret_cast<BYTE*>(&handle), &size) != ERROR_SUCCESS) {
        return 0;
    }
    return handle;
}

namespace {

void WriteStoredWindowHandle(std::uint64_t handle) {
    const UniqueHkey key = OpenRavelinKey();
    if (!key) {
        return;
    }
    // A failed write only means that a second instance cannot wake this window.
    ::RegSetValueExW(key.get(), kWindowValue, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&handle),
                     sizeof(handle));
}

std::uint64_t HandleValue(HWND window) {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace

void StoreMainWindowHandle(HWND window) {
    WriteStoredWindowHandle(HandleValue(window));
}

void ClearStoredMainWindowHandle(HWND window) {
    if (ReadStoredWindowHandle() == HandleValue(window)) {
        WriteStoredWindowHandle(0);
    }
}

}  // namespace brambolt
