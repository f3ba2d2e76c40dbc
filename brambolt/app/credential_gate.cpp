#include "brambolt/app/credential_gate.h"

#include <windows.h>

#include "brambolt/password/credential_record.h"
#include "brambolt/password/credential_store.h"
#include "brambolt/password/password_prompt.h"
#include "brambolt/web/account_recovery.h"

namespace brambolt {
namespace {

// A record held open by another process for a moment (a backup, a virus scanner) is read again a
// few times, about two seconds in all, before the program gives up.
constexpr int kRecordReadAttempts = 10;
constexpr DWORD kRecordRetryPauseMs = 200;

constexpr wchar_t kRecordUnreadable[] =
    L"本地安全凭证读取失败！请检查系统权限或安全软件拦截。\n程序将退出。";

CredentialRecordLoad LoadCredentialRecordWithRetries() {
    CredentialRecordLoad loaded = LoadCredentialRecord();
    for (int attempt = 1;
         loaded == CredentialRecordLoad::kUnreadable && attempt < kRecordReadAttempts; ++attempt) {
        ::Sleep(kRecordRetryPauseMs);
        loaded = LoadCredentialRecord();
    }
    return loaded;
}

}  // namespace

bool PassCredentialGate() {
    // A record that is there but cannot be read may hold a password: never start without it.
    if (LoadCredentialRecordWithRetries() == CredentialRecordLoad::kUnreadable) {
        ::MessageBoxW(nullptr, kRecordUnreadable, L"错误", MB_OK | MB_ICONERROR);
        return false;
    }
    if (!HasPassword(credentialRecord, credentialLoaded)) {
        return true;
    }
    // The prompt's 忘记密码? runs account recovery, which lives above the prompt.
    return RunPasswordPrompt(&ResetPasswordViaWeChat);
}

}  // namespace brambolt
