#include "brambolt/app/credential_gate.h"

#include "brambolt/password/credential_record.h"
#include "brambolt/password/credential_store.h"
#include "brambolt/password/password_prompt.h"
#include "brambolt/web/account_recovery.h"

namespace brambolt {

bool PassCredentialGate() {
    LoadCredentialRecord();
    if (!HasPassword(credentialRecord, credentialLoaded)) {
        return true;
    }
    // The prompt's 忘记密码? runs account recovery, which lives above the prompt.
    return RunPasswordPrompt(&ResetPasswordViaWeChat);
}

}  // namespace brambolt
