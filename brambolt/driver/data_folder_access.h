// The driver refuses every access to its data folder, the program's own included, until the
// program asks for it. This guard asks on entry (SetDataFolderAccess 1) and closes the folder
// again on every way out (SetDataFolderAccess 0). The answers are not used: without a driver the
// folder is reachable anyway, and a refused read or write reports itself.
#pragma once

#include "brambolt/driver/control_channel.h"

namespace brambolt {

class DataFolderAccess {
  public:
    DataFolderAccess() { SetDataFolderAccess(1); }
    DataFolderAccess(const DataFolderAccess&) = delete;
    DataFolderAccess& operator=(const DataFolderAccess&) = delete;
    ~DataFolderAccess() { SetDataFolderAccess(0); }
};

}  // namespace brambolt
