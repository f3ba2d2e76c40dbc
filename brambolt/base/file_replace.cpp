#include "brambolt/base/file_replace.h"

namespace brambolt {
namespace {

// The temporary file's name: the target's with ".tmp" appended, so a file left by a crash is
// overwritten by the next save instead of piling up.
std::wstring TemporaryPathFor(const std::wstring& target) {
    return target + L".tmp";
}

// True when nobody holds the target open, or it does not exist yet.
bool TargetIsFree(const std::wstring& target, FileOperations& operations) {
    OpenedFile probe =
        operations.Open(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    if (probe.valid()) {
        return probe.Close();
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND;
}

bool WriteWhole(const std::wstring& path, std::span<const std::uint8_t> bytes,
                FileOperations& operations) {
    OpenedFile file = operations.Open(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS);
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
