// The lock list operations of the program itself, on TheLockList() and the user's own driver.
#include <cstdint>

#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/folders/lock_list_startup.h"
#include "brambolt/folders/lock_list_store.h"

namespace brambolt {
namespace {

OrderedLockListSaver& ProgramSaver() {
    static OrderedLockListSaver saver;
    return saver;
}

}  // namespace

const LockListEnvironment& ProgramLockListEnvironment() {
    static const LockListEnvironment environment{
        [] { return GetLockListPath(); },
        [] { return PingDriver(); },
        [](std::int32_t value) { return SetDataFolderAccess(value); },
    };
    return environment;
}

void LoadLockList() {
    LoadLockList(ProgramLockListEnvironment(), TheLockList());
}

void SaveLockList() {
    SaveLockList(TheLockList().Snapshot());
}

SaveOutcome SaveLockList(const LockListSnapshot& snapshot) {
    return SaveLockList(ProgramLockListEnvironment(), ProgramSaver(), snapshot);
}

LockListStartup LoadLockListAtStartup() {
    return LoadLockListAtStartup(ProgramLockListEnvironment(), TheLockList());
}

}  // namespace brambolt
