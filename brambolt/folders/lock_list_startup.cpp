#include "brambolt/folders/lock_list_startup.h"

#include "brambolt/base/text_conversion.h"
#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/data_folder_access.h"
#include "brambolt/folders/lock_list_store.h"

namespace brambolt {

LockListStartup LoadLockListAtStartup(LockList& list) {
    LockListStartup startup;
    if (PingDriver()) {
        // The driver refuses every access to its data folder until it is opened for us.
        const DataFolderAccess access;
        LoadLockList(list);
    } else {
        LoadLockList(list);
        startup.startEnsureDriverThread = list.Count() > 0;
    }
    for (const std::u16string& entry : list.Entries()) {
        startup.listBoxRows.push_back(ToWide(entry));
    }
    return startup;
}

}  // namespace brambolt
