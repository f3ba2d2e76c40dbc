#include "brambolt/app/main_window_identity.h"

#include <shlwapi.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "brambolt/base/unique_handle.h"
#include "brambolt/folders/main_window_messages.h"

namespace brambolt {
namespace {

std::wstring TextOf(HWND window, bool className) {
    std::array<wchar_t, 256> text{};
    const int length = className ? ::GetClassNameW(window, text.data(), text.size())
                                 : ::GetWindowTextW(window, text.data(), text.size());
    return std::wstring(text.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

// The file name of a process's executable, without its folder.
std::optional<std::wstring> ExecutableName(HANDLE process) {
    std::array<wchar_t, 32768> path{};
    DWORD size = static_cast<DWORD>(path.size());
    if (process == nullptr
            ? ::GetModuleFileNameW(nullptr, path.data(), size) == 0
            : ::QueryFullProcessImageNameW(process, 0, path.data(), &size) == FALSE) {
        return std::nullopt;
    }
    return std::wstring(::PathFindFileNameW(path.data()));
}

std::optional<std::vector<std::byte>> TokenUserOf(HANDLE process) {
    UniqueHandle token;
    if (::OpenProcessToken(process, TOKEN_QUERY, token.put()) == FALSE) {
        return std::nullopt;
    }
    DWORD size = 0;
    if (::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size) != FALSE ||
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return std::nullopt;
    }
    std::vector<std::byte> user(size);
    if (::GetTokenInformation(token.get(), TokenUser, user.data(), size, &size) == FALSE) {
        return std::nullopt;
    }
    return user;
}

bool SameUser(HANDLE process) {
    const auto theirs = TokenUserOf(process);
    const auto ours = TokenUserOf(::GetCurrentProcess());
    return theirs && ours &&
           ::EqualSid(reinterpret_cast<const TOKEN_USER*>(theirs->data())->User.Sid,
                      reinterpret_cast<const TOKEN_USER*>(ours->data())->User.Sid) != FALSE;
}

}  // namespace

bool IsBramboltMainWindow(HWND window) {
    if (window == nullptr || ::IsWindow(window) == FALSE ||
        TextOf(window, true) != kMainWindowClass || TextOf(window, false) != kMainWindowCaption) {
        return false;
    }
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process || !SameUser(process.get())) {
        return false;
    }
    const std::optional<std::wstring> theirs = ExecutableName(process.get());
    const std::optional<std::wstring> ours = ExecutableName(nullptr);
    return theirs && ours && ::lstrcmpiW(theirs->c_str(), ours->c_str()) == 0;
}

}  // namespace brambolt
