#include "brambolt/base/file_operations.h"

#include <array>
#include <string_view>

#include "brambolt/base/unique_handle.h"

namespace brambolt {
namespace {

bool IsReparsePoint(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::wstring_view LastComponent(std::wstring_view path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

// True when what the handle opened bears the name it was opened by. A system that follows a
// link even when asked not to (Wine, for links to files) shows the target's name here.
bool OpenedUnderItsOwnName(HANDLE file, const wchar_t* path) {
    std::array<wchar_t, MAX_PATH + 8> opened{};
    const DWORD length = ::GetFinalPathNameByHandleW(
        file, opened.data(), static_cast<DWORD>(opened.size()), FILE_NAME_NORMALIZED);
    if (length == 0 || length >= opened.size()) {
        return false;
    }
    const std::wstring_view own = LastComponent(path);
    const std::wstring_view found = LastComponent(std::wstring_view(opened.data(), length));
    return ::CompareStringOrdinal(own.data(), static_cast<int>(own.size()), found.data(),
                                  static_cast<int>(found.size()), TRUE) == CSTR_EQUAL;
}

class SystemOperations final : public FileOperations {
  public:
    OpenedFile Open(const wchar_t* path, DWORD access, DWORD share, DWORD disposition) override {
        return {*this,
                ::CreateFileW(path, access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)};
    }
    bool Write(HANDLE file, const void* data, DWORD size) override {
        DWORD written = 0;
        return ::WriteFile(file, data, size, &written, nullptr) != FALSE && written == size;
    }
    bool Flush(HANDLE file) override { return ::FlushFileBuffers(file) != FALSE; }
    bool Replace(const wchar_t* from, const wchar_t* to) override {
        return ::MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    bool Remove(const wchar_t* path) override { return RemoveFileName(path); }

  protected:
    bool Close(HANDLE file) override { return ::CloseHandle(file) != FALSE; }
};

}  // namespace

bool RemoveFileName(const wchar_t* path) {
    // Opened as it is, checked and marked for deletion through that one handle. A reparse point
    // is refused rather than removed: not every system removes a link itself rather than what
    // it leads to (Wine removes the target), and nothing of ours is ever a link.
    const UniqueFile file(::CreateFileW(
        path, DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        return false;  // the reason stays in GetLastError (ERROR_FILE_NOT_FOUND: nothing there)
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileInformationByHandle(file.get(), &information) == FALSE) {
        return false;
    }
    if (IsReparsePoint(information.dwFileAttributes) ||
        IsReparsePoint(::GetFileAttributesW(path)) || !OpenedUnderItsOwnName(file.get(), path)) {
        ::SetLastError(ERROR_CANT_ACCESS_FILE);
        return false;
    }
    FILE_DISPOSITION_INFO disposition{TRUE};
    return ::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition,
                                        sizeof(disposition)) != FALSE;
}

FileOperations& SystemFileOperations() {
    static SystemOperations operations;
    return operations;
}

}  // namespace brambolt
