#include "brambolt/folders/lock_list_store.h"

namespace brambolt {
void LoadLockList(const LockListEnvironment& environment, LockList& list) {
    const std::optional<std::wstring> path = environment.lockListPath();
    if (path) {
        LoadLockListFile(*path, list);
    }
}

SaveOutcome SaveLockList(const LockListEnvironment& environment, OrderedLockListSaver& saver,
                         const LockListSnapshot& snapshot) {
    const std::optional<std::wstring> path = environment.lockListPath();
    if (!path) {
        return SaveOutcome::kFailed;
    }
    return saver.Save(*path, snapshot);
}

}  // namespace brambolt
