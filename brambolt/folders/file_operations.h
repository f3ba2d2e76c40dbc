// The handful of file calls that a whole-file save makes, behind one interface so that tests can
// make any one of them fail and check what a crash at that point would leave on disk.
#pragma once

#include <windows.h>

namespace brambolt {

class FileOperations {
  public:
    virtual ~FileOperations() = default;

    // CreateFileW with no security attributes, normal attributes and no template. On failure
    // INVALID_HANDLE_VALUE, with the reason in GetLastError.
    virtual HANDLE Open(const wchar_t* path, DWORD access, DWORD share, DWORD disposition) = 0;
    // Writes all size bytes or fails.
    virtual bool Write(HANDLE file, const void* data, DWORD size) = 0;
    virtual bool Flush(HANDLE file) = 0;
    virtual bool Close(HANDLE file) = 0;
    // Moves from over to, replacing it, and returns only after the move reached the disk.
    virtual bool Replace(const wchar_t* from, const wchar_t* to) = 0;
    virtual bool Remove(const wchar_t* path) = 0;
};

// The system's calls.
[[nodiscard]] FileOperations& SystemFileOperations();

}  // namespace brambolt
