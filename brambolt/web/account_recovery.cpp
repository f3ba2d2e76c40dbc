#include "brambolt/web/account_recovery.h"

#include <string>

#include "brambolt/base/text_conversion.h"
#include "brambolt/password/credential_record.h"
#include "brambolt/password/credential_store.h"
#include "brambolt/password/password_hash.h"
#include "brambolt/web/vendor_server.h"
#include "brambolt/web/verification_outcome.h"
#include "brambolt/web/wechat_auth_dlg.h"

namespace brambolt {

namespace {

void ResetToRecoveryPassword(HWND prompt) {
    const std::wstring hash = HashPassword(kRecoveryPassword);
    if (hash.empty()) {
        // Without a hash the record would lose its password; nothing is changed or reported.
        return;
    }
    SetFieldText(credentialRecord.passwordHash, ToUtf16(hash));
    credentialLoaded = SaveCredentialRecord(credentialRecord);
    // Shown whether or not the save succeeded: the prompt compares against the in-memory hash.
    ::MessageBoxW(prompt, L"身份验证成功！密码已重置为：583064，请以此密码登录后重新设置。",
                  L"重置成功", MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void ResetPasswordViaWeChat(HWND prompt) {
    ::EnableWindow(prompt, FALSE);
    const std::u16string address =
        RecoveryAddress(VendorServerHost(), FieldText(credentialRecord.openid));
    switch (VerifyWithWeChat(ToWide(address), prompt)) {
        case kVerificationVerified:
            ResetToRecoveryPassword(prompt);
            break;
        case kVerificationRejected:
            ::MessageBoxW(prompt, L"身份验证失败！当前微信用户与记录不符。", L"重置失败",
                          MB_OK | MB_ICONERROR);
            break;
        default:
            break;  // closed, no runtime, or no web view: nothing shown, nothing changed
    }
    ::EnableWindow(prompt, TRUE);
    ::SetFocus(::GetDlgItem(prompt, kPromptPasswordEdit));
}

}  // namespace brambolt
