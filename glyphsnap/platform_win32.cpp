#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <objbase.h>
#include <shellapi.h>
#include <wincrypt.h>

#include <array>

#include "platform.h"
#include "utf.h"

namespace glyphsnap {
namespace {

constexpr std::wstring_view kCacheFileName = L"vorlin_ocr_edit_cache.png";
constexpr std::wstring_view kFallbackPrefix = L"vorlin_ocr_edit_";

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
    std::wstring path = *folder + std::wstring(kCacheFileName);
    if (_waccess(path.c_str(), 0) == 0 && _wremove(path.c_str()) != 0) {
        path =
            *folder + std::wstring(kFallbackPrefix) + std::to_wstring(GetTickCount64()) + L".png";
    }
    UniqueFile stream(_wfopen(path.c_str(), L"wb"));
    if (!stream) {
        return std::nullopt;
    }
    return EditImageFile{std::move(path), std::move(stream)};
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
    (void)ShellExecuteW(nullptr, L"open", L"mspaint.exe", path.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace glyphsnap
