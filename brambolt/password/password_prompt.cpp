#include "brambolt/password/password_prompt.h"

#include "brambolt/base/text_conversion.h"
#include "brambolt/password/credential_record.h"
#include "brambolt/password/credential_store.h"
#include "brambolt/password/new_password_rules.h"
#include "brambolt/password/pass_input_dlg.h"
#include "brambolt/password/password_hash.h"

namespace brambolt {

namespace {

// Read at every attempt: account recovery may have replaced the hash meanwhile. The typed text is
// trimmed and judged as the set-password dialog does, so a password matches exactly when it is
// the one that dialog stored.
bool MatchesStoredHash(const std::wstring& typed) {
    const std::optional<std::u16string_view> password = PasswordToCompare(AsUtf16(typed));
    if (!password) {
        return false;
    }
    const std::wstring hash = HashPassword(AsWide(*password));
    return !hash.empty() && AsUtf16(hash) == FieldText(credentialRecord.passwordHash);
}

bool RetryAfterWrongPassword() {
    return ::MessageBoxW(nullptr, L"独立保护口令错误！请重试。", L"验证失败",
                         MB_ICONERROR | MB_RETRYCANCEL) == IDRETRY;
}

}  // namespace

bool RunPasswordPrompt(const std::function<void(HWND prompt)>& recoverAccount) {
    CPassInputDlg prompt(recoverAccount);
    if (!prompt.Create()) {
        return false;
    }
    for (;;) {
        if (prompt.RunModalLoop() != CPassInputDlg::kEntered) {
            prompt.DestroyModalWindow();
            return false;
        }
        const bool matches = MatchesStoredHash(prompt.EnteredPassword());
        prompt.WipeEnteredPassword();
        if (matches) {
            prompt.DestroyModalWindow();
            return true;
        }
        if (!RetryAfterWrongPassword()) {
            prompt.DestroyModalWindow();
            return false;
        }
        prompt.ClearPasswordField();
    }
}

}  // namespace brambolt
