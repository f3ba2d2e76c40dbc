// Stands in for the paint program in the Windows tests, and holds files open for them.
//   (no --hold)      records its parameters as one line of paint-arguments.txt in the temporary
//                    folder, then stays running for a while, as a paint program would
//   --hold PATH      opens PATH without allowing its deletion, prints "held" and keeps it open
//                    until its standard input ends
#include <windows.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueFileHandle = std::unique_ptr<void, HandleCloser>;

UniqueFileHandle OpenFile(const std::wstring& path, DWORD access, DWORD disposition) {
    HANDLE file = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueFileHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

std::wstring_view ParametersOf(std::wstring_view commandLine) {
    // The program name comes first, quoted or not; what follows the separating space stays as it
    // was passed.
    std::size_t end = 0;
    if (!commandLine.empty() && commandLine.front() == L'"') {
        end = commandLine.find(L'"', 1);
        end = end == std::wstring_view::npos ? commandLine.size() : end + 1;
    } else {
        end = commandLine.find(L' ');
        end = end == std::wstring_view::npos ? commandLine.size() : end;
    }
    commandLine.remove_prefix(end);
    while (!commandLine.empty() && commandLine.front() == L' ') {
        commandLine.remove_prefix(1);
    }
    return commandLine;
}

std::string ToUtf8(std::wstring_view text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
    return utf8;
}

int RecordParameters(std::wstring_view parameters) {
    std::array<wchar_t, MAX_PATH> folder{};
    GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    const std::wstring log = std::wstring(folder.data()) + L"paint-arguments.txt";
    {
        const UniqueFileHandle file = OpenFile(log, FILE_APPEND_DATA, OPEN_ALWAYS);
        if (!file) {
            return 1;
        }
        const std::string line = ToUtf8(parameters) + "\n";
        DWORD written = 0;
        WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    Sleep(20000);
    return 0;
}

int HoldFile(std::wstring_view path) {
    const UniqueFileHandle file = OpenFile(std::wstring(path), GENERIC_READ, OPEN_EXISTING);
    if (!file) {
        return 1;
    }
    std::fputs("held\n", stdout);
    std::fflush(stdout);
    char ignored[64];
    while (std::fread(ignored, 1, sizeof ignored, stdin) > 0) {
    }
    return 0;
}

}  // namespace

int wmain() {
    const std::wstring_view parameters = ParametersOf(GetCommandLineW());
    constexpr std::wstring_view hold = L"--hold ";
    if (parameters.substr(0, hold.size()) == hold) {
        return HoldFile(parameters.substr(hold.size()));
    }
    return RecordParameters(parameters);
}
