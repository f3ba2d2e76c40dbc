// The handful of file calls that a whole-file save makes, behind one interface so that tests can
// make any one of them fail and check what a crash at that point would leave on disk.
#pragma once

#include <windows.h>

#include <utility>

namespace brambolt {

class FileOperations;

// A file opened through FileOperations, closed through the same operations.
class OpenedFile {
  public:
    OpenedFile(FileOperations& operations, HANDLE handle) noexcept
        : operations_(&operations), handle_(handle) {}
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;
    OpenedFile(OpenedFile&& other) noexcept
        : operations_(other.operations_),
          handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    OpenedFile& operator=(OpenedFile&&) = delete;
    ~OpenedFile() { Close(); }

    [[nodiscard]] bool valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE get() const noexcept { return handle_; }
    // Hands the handle over without closing it.
    HANDLE release() noexcept { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    // False when the close failed (the data may not have reached the file); the handle is gone
    // either way.
    bool Close() noexcept;

  private:
    FileOperations* operations_;
    HANDLE handle_;
};

class FileOperations {
  public:
    virtual ~FileOperations() = default;

    // CreateFileW with no security attributes, normal attributes and no template, opening a
    // reparse point at the path itself rather than what it leads to. On failure an invalid file,
    // with the reason in GetLastError.
    virtual OpenedFile Open(const wchar_t* path, DWORD access, DWORD share, DWORD disposition) = 0;
    // Writes all size bytes or fails.
    virtual bool Write(HANDLE file, const void* data, DWORD size) = 0;
    virtual bool Flush(HANDLE file) = 0;
    // Moves from over to, replacing it, and returns only after the move reached the disk.
    virtual bool Replace(const wchar_t* from, const wchar_t* to) = 0;
    // Removes the file at the path; a link there is neither followed nor removed.
    virtual bool Remove(const wchar_t* path) = 0;

  protected:
    friend class OpenedFile;
    // Only OpenedFile closes what Open opened.
    virtual bool Close(HANDLE file) = 0;
};

inline bool OpenedFile::Close() noexcept {
    const HANDLE handle = release();
    return handle == INVALID_HANDLE_VALUE || operations_->Close(handle);
}

// The system's calls.
[[nodiscard]] FileOperations& SystemFileOperations();

// Deletes the file at path, which is never followed: a reparse point there (a link) is refused,
// with ERROR_CANT_ACCESS_FILE, and neither it nor what it leads to is removed. False with the
// reason in GetLastError (ERROR_FILE_NOT_FOUND when nothing is there).
bool RemoveFileName(const wchar_t* path);

}  // namespace brambolt
