#include "brambolt/base/file_operations.h"

namespace brambolt {
namespace {

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
    // A link at the path is removed itself; its target is never touched.
    bool Remove(const wchar_t* path) override { return ::DeleteFileW(path) != FALSE; }

  protected:
    bool Close(HANDLE file) override { return ::CloseHandle(file) != FALSE; }
};

}  // namespace

FileOperations& SystemFileOperations() {
    static SystemOperations operations;
    return operations;
}

}  // namespace brambolt
