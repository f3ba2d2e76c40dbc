// Moving the lock list between memory and the file at a given path. The path and the driver's
// data-folder access are the callers' (lock_list_store.h for the program's own file).
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "brambolt/base/file_operations.h"
#include "brambolt/folders/lock_list.h"

namespace brambolt {

enum class LockListLoad {
    kRead,        // the file was read whole (or holds no entries at all, as the mark alone)
    kMissing,     // no file
    kUnreadable,  // a file the reader could not take in whole: it must not be replaced unseen
};

// Opens the file for reading without sharing. When it does not open (missing, refused, in use) the
// list keeps what it held; otherwise the list is replaced by the file's entries, which is the empty
// list for a file without the mark, shorter than two bytes, holding only the mark, unreadable, or
// larger than kLargestLockListFile. kUnreadable for a file that is there but refused, unreadable,
// too large, or not DecodesWhole.
LockListLoad LoadLockListFile(const std::wstring& path, LockList& list);

inline constexpr std::uint64_t kLargestLockListFile = std::uint64_t{16} << 20U;

// Writes the entries as the whole file, or deletes the file for an empty list (a missing file is
// fine). False when nothing was changed: the old file, if any, is still there whole.
bool SaveLockListFile(const std::wstring& path, const LockListEntries& entries,
                      FileOperations& operations = SystemFileOperations());

enum class SaveOutcome { kWritten, kStale, kFailed };

// Saves snapshots in the order of the edits that made them, one at a time: a snapshot older than
// one already written is dropped, so two commit threads racing each other leave the newer list.
class OrderedLockListSaver {
  public:
    SaveOutcome Save(const std::wstring& path, const LockListSnapshot& snapshot,
                     FileOperations& operations = SystemFileOperations());

  private:
    std::mutex mutex_;
    std::optional<std::uint64_t> lastWritten_;
};

}  // namespace brambolt
