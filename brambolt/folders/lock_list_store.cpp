#include "brambolt/folders/lock_list_store.h"

#include "brambolt/driver/data_folder_access.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/folders/unreadable_list_file.h"

namespace brambolt {

LockListLoad LoadLockList(LockList& list) {
    const std::optional<std::wstring> path = GetLockListPath();
    if (!path) {
        return LockListLoad::kMissing;
    }
    const LockListLoad loaded = LoadLockListFile(*path, list);
    if (loaded == LockListLoad::kUnreadable) {
        TheUnreadableListFile().Found();
    }
    return loaded;
}

SaveOutcome SaveLockList(OrderedLockListSaver& saver, const LockListSnapshot& snapshot) {
    const std::optional<std::wstring> path = GetLockListPath();
    if (!path || !TheUnreadableListFile().KeepAside(*path)) {
        return SaveOutcome::kFailed;
    }
    return saver.Save(*path, snapshot);
}

SaveOutcome SaveLockList(const LockListSnapshot& snapshot) {
    static OrderedLockListSaver programSaver;
    return SaveLockList(programSaver, snapshot);
}

bool KeepUnreadableLockListAside() {
    UnreadableListFile& unreadable = TheUnreadableListFile();
    if (!unreadable.Pending()) {
        return true;
    }
    // The folder is opened for the program before its path is taken: that step sets its access.
    const DataFolderAccess access;
    const std::optional<std::wstring> path = GetLockListPath();
    return !path || unreadable.KeepAside(*path);
}

}  // namespace brambolt
