#include "brambolt/app/credential_gate.h"

#include "brambolt/password/credential_record.h"
#include "brambolt/password/credential_store.h"

namespace brambolt {

bool PassCredentialGate() {
    LoadCredentialRecord();
    if (!HasPassword(credentialRecord, credentialLoaded)) {
        return true;
    }
    // A password is set, and this build has no start-up prompt that could ask for it yet. The
    // folders it guards must not open without it, so start-up ends here, as after a cancelled
    // prompt. RunPasswordPrompt takes this place.
    return false;
}

}  // namespace brambolt
