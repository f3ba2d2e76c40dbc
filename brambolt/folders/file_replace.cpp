#include "brambolt/folders/file_replace.h"

#include <utility>

namespace brambolt {
namespace {

// Owns a handle opened through the operations, so the close goes through them as well.
class OperationsFile {
  public:
    OperationsFile(FileOperations& operations, HANDLE handle) noexcept
        : operations_(operations), handle_(handle) {}
    OperationsFile(const OperationsFile&) = delete;
    OperationsFile& operator=(const OperationsFile&) = delete;
    ~OperationsFile() { Close(); }

    [[nodiscard]] bool valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE get() const noexcept { return handle_; }
    bool Close() noexcept {
        const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
        return handle == INVALID_HANDLE_VALUE || operations_.Close(handle);
    }

  private:
    FileOperations& operations_;
    HANDLE handle_;
};

// True when nobody holds the target open, or it does not exist yet.
bool TargetIsFree(const std::wstring& target, FileOperations& operations) {
    OperationsFile probe(operations, operations.Open(target.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                     0, OPEN_EXISTING));
    if (probe.valid()) {
        return probe.Close();
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND;
}

bool WriteWhole(const std::wstring& path, std::span<const std::uint8_t> bytes,
                FileOperations& operations) {
    OperationsFile file(operations, operations.Open(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS));
    if (!file.valid()) {
        return false;
    }
    if (!bytes.empty() &&
        !operations.Write(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()))) {
        return false;
    }
    return operations.Flush(file.get()) && file.Close();
}

}  // namespace

std::wstring TemporaryPathFor(const std::wstring& target) {
    return target + L".tmp";
}

bool ReplaceFileContents(const std::wstring& target, std::span<const std::uint8_t> bytes,
                         FileOperations& operations) {
    const std::wstring temporary = TemporaryPathFor(target);
    if (temporary.size() >= MAX_PATH || bytes.size() > MAXDWORD) {
        return false;
    }
    if (!TargetIsFree(target, operations)) {
        return false;
    }
    if (WriteWhole(temporary, bytes, operations) &&
        operations.Replace(temporary.c_str(), target.c_str())) {
        return true;
    }
    // A failed write or move must not leave its temporary file in the data folder. The result is
    // not needed: a file that stays is overwritten by the next save.
    operations.Remove(temporary.c_str());
    return false;
}

}  // namespace brambolt
