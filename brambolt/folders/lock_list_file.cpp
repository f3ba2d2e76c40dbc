#include "brambolt/folders/lock_list_file.h"

#include <vector>

#include "brambolt/base/file_replace.h"
#include "brambolt/base/whole_file.h"

namespace brambolt {

LockListLoad LoadLockListFile(const std::wstring& path, LockList& list) {
    const WholeFileRead file = ReadWholeFileWithStatus(path, kLargestLockListFile);
    switch (file.status) {
        case WholeFileStatus::kMissing:
            return LockListLoad::kMissing;
        case WholeFileStatus::kNotOpened:
            return LockListLoad::kUnreadable;
        case WholeFileStatus::kTooLarge:
        case WholeFileStatus::kReadFailed:
            list.Replace({});
            return LockListLoad::kUnreadable;
        case WholeFileStatus::kRead:
            break;
    }
    list.Replace(DecodeLockList(file.bytes));
    return DecodesWhole(file.bytes) ? LockListLoad::kRead : LockListLoad::kUnreadable;
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
