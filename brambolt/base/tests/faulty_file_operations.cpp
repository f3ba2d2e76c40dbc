#include "brambolt/base/tests/faulty_file_operations.h"

#include <algorithm>

namespace brambolt::testing {

bool FaultyFileOperations::Fails() {
    ++calls_;
    const bool fails = mode_ == Mode::kCrash ? calls_ >= failingCall_ : calls_ == failingCall_;
    if (fails) {
        ::SetLastError(ERROR_WRITE_FAULT);
    }
    return fails;
}

void FaultyFileOperations::CloseLeftHandles() {
    for (HANDLE handle : open_) {
        ::CloseHandle(handle);
    }
    open_.clear();
}

OpenedFile FaultyFileOperations::Open(const wchar_t* path, DWORD access, DWORD share,
                                      DWORD disposition) {
    if (Fails()) {
        return {*this, INVALID_HANDLE_VALUE};
    }
    const HANDLE handle = SystemFileOperations().Open(path, access, share, disposition).release();
    if (handle != INVALID_HANDLE_VALUE) {
        open_.push_back(handle);
    }
    return {*this, handle};
}

bool FaultyFileOperations::Write(HANDLE file, const void* data, DWORD size) {
    if (Fails()) {
        // A write cut short leaves part of the data behind, as a full disk would.
        DWORD written = 0;
        ::WriteFile(file, data, size / 2, &written, nullptr);
        return false;
    }
    return SystemFileOperations().Write(file, data, size);
}

bool FaultyFileOperations::Flush(HANDLE file) {
    return !Fails() && SystemFileOperations().Flush(file);
}

bool FaultyFileOperations::Close(HANDLE file) {
    if (Fails() && mode_ == Mode::kCrash) {
        return false;  // the handle stays open until the "process" ends
    }
    const bool failed = calls_ == failingCall_;
    open_.erase(std::remove(open_.begin(), open_.end(), file), open_.end());
    // A close that reports failure (for example data that could not be written back) still
    // releases the handle.
    return ::CloseHandle(file) != FALSE && !failed;
}

bool FaultyFileOperations::Replace(const wchar_t* from, const wchar_t* to) {
    return !Fails() && SystemFileOperations().Replace(from, to);
}

bool FaultyFileOperations::Remove(const wchar_t* path) {
    return !Fails() && SystemFileOperations().Remove(path);
}

}  // namespace brambolt::testing
