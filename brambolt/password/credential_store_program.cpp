// The credential record operations of the program itself, on the user's own data folder.
#include <cstdint>

#include "brambolt/driver/control_channel.h"
#include "brambolt/driver/user_names.h"
#include "brambolt/password/credential_store.h"

namespace brambolt {

const CredentialStoreEnvironment& ProgramCredentialStoreEnvironment() {
    static const CredentialStoreEnvironment environment{
        [] { return GetCredentialRecordPath(); },
        [](std::int32_t value) { return SetDataFolderAccess(value); },
    };
    return environment;
}

void LoadCredentialRecord() {
    LoadCredentialRecord(ProgramCredentialStoreEnvironment(), credentialRecord, credentialLoaded);
}

bool SaveCredentialRecord(CredentialRecord& record) {
    return SaveCredentialRecord(ProgramCredentialStoreEnvironment(), record);
}

}  // namespace brambolt
