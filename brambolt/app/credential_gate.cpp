#include "brambolt/app/credential_gate.h"

#include "brambolt/password/credential_record.h"
#include "brambolt/password/credential_store.h"
#include "brambolt/password/password_prompt.h"

namespace brambolt {

bool PassCredentialGate() {
    LoadCredentialRecord();
    if (!HasPassword(credentialRecord, credentialLoaded)) {
        return true;
    }
    // Account recovery plugs in here; until then the prompt's 忘记密码? button does nothing.
    return RunPasswordPrompt([](HWND /*prompt*/) {});
}

}  // namespace brambolt
