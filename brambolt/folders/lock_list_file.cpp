#include "brambolt/folders/lock_list_file.h"

#include <vector>

#include "brambolt/folders/file_replace.h"
#include "brambolt/framework/unique_handle.h"

namespace brambolt {
namespace {

// The whole file, or nothing when it is too large or a read fails.
std::vector<std::uint8_t> ReadWholeFile(HANDLE file) {
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file, &size) == FALSE || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > kLargestLockListFile) {
        return {};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (::ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read,
                       nullptr) == FALSE ||
            read == 0) {
            return {};
        }
        done += read;
    }
    return bytes;
}

}  // namespace

void LoadLockListFile(const std::wstring& path, LockList& list) {
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    list.Replace(DecodeLockList(ReadWholeFile(file.get())));
}

bool SaveLockListFile(const std::wstring& path, const LockListEntries& entries,
                      FileOperations& operations) {
    const std::vector<std::uint8_t> bytes = EncodeLockList(entries);
    if (bytes.size() <= 2) {
        // A list without entries has no file (a file of the mark alone is never written); the
        // driver then protects nothing.
        return operations.Remove(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    return ReplaceFileContents(path, bytes, operations);
}

SaveOutcome OrderedLockListSaver::Save(const std::wstring& path, const LockListSnapshot& snapshot,
                                       FileOperations& operations) {
    const std::scoped_lock lock(mutex_);
    if (lastWritten_ && snapshot.version < *lastWritten_) {
        return SaveOutcome::kStale;
    }
    if (!SaveLockListFile(path, snapshot.entries, operations)) {
        return SaveOutcome::kFailed;
    }
    lastWritten_ = snapshot.version;
    return SaveOutcome::kWritten;
}

}  // namespace brambolt
