#include "brambolt/folders/lock_list_store.h"

#include "brambolt/driver/user_names.h"

namespace brambolt {

void LoadLockList(LockList& list) {
    if (const std::optional<std::wstring> path = GetLockListPath()) {
        LoadLockListFile(*path, list);
    }
}

SaveOutcome SaveLockList(OrderedLockListSaver& saver, const LockListSnapshot& snapshot) {
    const std::optional<std::wstring> path = GetLockListPath();
    if (!path) {
        return SaveOutcome::kFailed;
    }
    return saver.Save(*path, snapshot);
}

SaveOutcome SaveLockList(const LockListSnapshot& snapshot) {
    static OrderedLockListSaver programSaver;
    return SaveLockList(programSaver, snapshot);
}

}  // namespace brambolt
