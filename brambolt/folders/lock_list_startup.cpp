#include "brambolt/folders/lock_list_startup.h"

#include "brambolt/folders/lock_list_store.h"
#include "brambolt/framework/text_conversion.h"

namespace brambolt {

LockListStartup LoadLockListAtStartup(const LockListEnvironment& environment, LockList& list) {
    LockListStartup startup;
    if (environment.pingDriver()) {
        // The driver refuses every access to its data folder until it is opened for us; the
        // results of the switch do not matter, a refused read simply leaves the list empty.
        environment.setDataFolderAccess(1);
        LoadLockList(environment, list);
        environment.setDataFolderAccess(0);
    } else {
        LoadLockList(environment, list);
        startup.startEnsureDriverThread = list.Count() > 0;
    }
    for (const std::u16string& entry : list.Entries()) {
        startup.listBoxRows.push_back(ToWide(entry));
    }
    return startup;
}

}  // namespace brambolt
