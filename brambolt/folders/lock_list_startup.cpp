#include "brambolt/folders/lock_list_startup.h"

#include "brambolt/base/text_conversion.h"
#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/data_folder_access.h"
#include "brambolt/folders/lock_list_store.h"
#include "brambolt/folders/unreadable_list_file.h"

namespace brambolt {

namespace {

// Loads the list and, for an unreadable file, moves it aside while the data folder is open.
void LoadAndKeepUnreadable(LockList& list, LockListStartup& startup) {
    startup.unreadableFile = LoadLockList(list) == LockListLoad::kUnreadable;
    if (startup.unreadableFile && KeepUnreadableLockListAside()) {
        startup.keptPath = TheUnreadableListFile().KeptPath();
    }
}

}  // namespace

LockListStartup LoadLockListAtStartup(LockList& list) {
    LockListStartup startup;
    if (PingDriver()) {
        // The driver refuses every access to its data folder until it is opened for us.
        const DataFolderAccess access;
        LoadAndKeepUnreadable(list, startup);
    } else {
        LoadAndKeepUnreadable(list, startup);
        startup.startEnsureDriverThread = list.Count() > 0;
    }
    for (const std::u16string& entry : list.Entries()) {
        startup.listBoxRows.push_back(ToWide(entry));
    }
    return startup;
}

}  // namespace brambolt
