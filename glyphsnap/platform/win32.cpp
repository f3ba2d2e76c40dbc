#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <objbase.h>
#include <share.h>
#include <shellapi.h>
#include <sys/stat.h>
#include <wincrypt.h>

#include <array>
#include <cerrno>

#include "glyphsnap/platform/edit_file_name.h"
#include "glyphsnap/platform/platform.h"
#include "glyphsnap/text/utf.h"

namespace glyphsnap {
namespace {

std::wstring Utf8ToUtf16(std::string_view text) {
    const std::u16string converted = Utf16FromUtf8(text);
    return {converted.begin(), converted.end()};
}

// The folder path ends with a backslash. Nothing when it cannot be had or does not fit.
std::optional<std::wstring> TemporaryFolder() {
    std::array<wchar_t, MAX_PATH> buffer{};
    const DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) {
        return std::nullopt;
    }
    return std::wstring(buffer.data(), length);
}

// A new file, never one that exists; other processes may read and write it meanwhile.
UniqueFile CreateNewFile(const std::wstring& path) {
    int fd = -1;
    if (_wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYNO,
                  _S_IREAD | _S_IWRITE) != 0) {
        return nullptr;
    }
    UniqueFile stream(_fdopen(fd, "wb"));
    if (!stream) {
        _close(fd);
    }
    return stream;
}

std::wstring Widened(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

}  // namespace

void InitialiseProcess() {
    // The result is not needed: recognition, the only user of the runtime, reports its own errors.
    (void)CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

std::vector<std::uint8_t> DecodeImageText(std::string_view text) {
    // The decoder reads up to the terminating NUL, which std::wstring always carries.
    const std::wstring wide = Utf8ToUtf16(text);
    DWORD size = 0;
    if (!CryptStringToBinaryW(wide.c_str(), 0, CRYPT_STRING_BASE64, nullptr, &size, nullptr,
                              nullptr) ||
        size == 0) {
        return {};
    }
    std::vector<std::uint8_t> bytes(size, 0);
    if (!CryptStringToBinaryW(wide.c_str(), 0, CRYPT_STRING_BASE64, bytes.data(), &size, nullptr,
                              nullptr)) {
        return {};
    }
    // The file gets as many bytes as the first call announced.
    return bytes;
}

std::optional<EditImageFile> OpenEditImageFile() {
    const std::optional<std::wstring> folder = TemporaryFolder();
    if (!folder) {
        return std::nullopt;
    }
    std::wstring path = *folder + Widened(kEditCacheFileName);
    if (_waccess(path.c_str(), 0) != 0 || _wremove(path.c_str()) == 0) {
        UniqueFile stream(_wfopen(path.c_str(), L"wb"));
        if (!stream) {
            return std::nullopt;
        }
        return EditImageFile{std::move(path), std::move(stream)};
    }
    // A name taken by an earlier edit of the same millisecond, or by another process, passes on
    // to the next one.
    const std::uint64_t tick = GetTickCount64();
    for (unsigned attempt = 0; attempt < kFallbackNameAttempts; ++attempt) {
        path = *folder + Widened(FallbackEditFileName(tick, attempt));
        if (UniqueFile stream = CreateNewFile(path)) {
            return EditImageFile{std::move(path), std::move(stream)};
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void StartPaintProgram(const NativePath& path) {
    // The caller's pipes must not live on in the paint program: it would hold the protocol open.
    for (const DWORD stream : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        if (HANDLE handle = GetStdHandle(stream);
            handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
        }
    }
    // Whether the paint program starts does not change the reply.
    // Quoted: a temporary folder may hold a space ("C:\Users\Ann Lee\..."), and the paint
    // program takes its parameters apart at spaces. A Windows path never holds a quotation mark.
    const std::wstring parameters = L"\"" + path + L"\"";
    (void)ShellExecuteW(nullptr, L"open", L"mspaint.exe", parameters.c_str(), nullptr,
                        SW_SHOWNORMAL);
}

}  // namespace glyphsnap
