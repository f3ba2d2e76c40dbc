#include "brambolt/password/setpass_dlg.h"

#include "brambolt/base/secure_wipe.h"
#include "brambolt/base/text_conversion.h"
#include "brambolt/base/windows_space.h"
#include "brambolt/framework/message_box.h"
#include "brambolt/framework/message_map.h"
#include "brambolt/password/credential_record.h"
#include "brambolt/password/credential_store.h"
#include "brambolt/password/new_password_rules.h"
#include "brambolt/password/password_hash.h"

namespace brambolt {

namespace {

const wchar_t* RefusalText(NewPasswordCheck check) {
    switch (check) {
        case NewPasswordCheck::Empty:
            return L"保护口令不能为空，请输入密码！";
        case NewPasswordCheck::NotHalfWidth:
            return L"只能输入英文、数字或半角字符";
        case NewPasswordCheck::BadLength:
            return L"密码长度应不少于6位，不多于12位";
        case NewPasswordCheck::Mismatch:
            return L"两次输入的口令不一致，请重新输入！";
        case NewPasswordCheck::Accepted:
            break;
    }
    return L"";
}

// Trims in place, so that no trimmed copy of the password is left behind in another buffer.
void TrimInPlace(std::wstring& text) {
    const std::u16string_view whole = AsUtf16(text);
    const std::u16string_view kept = TrimWindowsSpace(whole);
    const auto begin = static_cast<std::size_t>(kept.data() - whole.data());
    text.erase(begin + kept.size());
    text.erase(0, begin);
}

}  // namespace

CSetpassDlg::CSetpassDlg(HWND parent) : CDialog(IDD, parent) {}

CSetpassDlg::~CSetpassDlg() {
    WipeTypedTexts();
}

void CSetpassDlg::DoDataExchange(DataExchange& exchange) {
    CDialog::DoDataExchange(exchange);
    exchange.Text(IDC_PASSWORD_EDIT, password_);
    exchange.Text(IDC_CONFIRM_EDIT, confirmation_);
}

bool CSetpassDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                       std::intptr_t& result) {
    static constexpr MessageMapEntry<CSetpassDlg> kMap[] = {
        OnCommand<CSetpassDlg>(BN_CLICKED, IDC_SET_PASSWORD_OK, &CSetpassDlg::OnSetPassword),
        OnCommand<CSetpassDlg>(BN_CLICKED, IDC_SET_PASSWORD_CANCEL, &CSetpassDlg::OnCancelButton),
    };
    return ProcessMessageMap<CSetpassDlg>(*this, kMap, message, wParam, lParam, result) ||
           CDialog::ProcessWindowMessage(message, wParam, lParam, result);
}

void CSetpassDlg::WipeTypedTexts() noexcept {
    SecureWipe(password_);
    SecureWipe(confirmation_);
}

void CSetpassDlg::OnSetPassword() {
    if (!UpdateData(true)) {
        WipeTypedTexts();
        return;
    }
    TrimInPlace(password_);
    TrimInPlace(confirmation_);
    const NewPasswordCheck check = CheckNewPassword(AsUtf16(password_), AsUtf16(confirmation_));
    if (check != NewPasswordCheck::Accepted) {
        AppMessageBox(Window(), RefusalText(check), MB_OK | MB_ICONWARNING);
        if (check == NewPasswordCheck::Mismatch) {
            SecureWipe(confirmation_);
            UpdateData(false);
            ::SetFocus(::GetDlgItem(Window(), IDC_CONFIRM_EDIT));
        }
        // The edit controls keep what was typed; the members have no further use for it.
        WipeTypedTexts();
        return;
    }

    const std::wstring hash = HashPassword(password_);
    WipeTypedTexts();
    if (hash.empty()) {
        // The hash provider failed. Storing the empty hash would remove the protection while the
        // box reported it set, so the record stays as it was.
        ReportSaveFailure();
        return;
    }
    SetFieldText(credentialRecord.passwordHash, AsUtf16(hash));
    // The in-memory record keeps the new hash whether or not the file could be written.
    if (!SaveCredentialRecord(credentialRecord)) {
        ReportSaveFailure();
        return;
    }
    AppMessageBox(Window(), L"独立保护口令设置成功！", MB_OK | MB_ICONINFORMATION);
    EndDialog(IDOK);
}

void CSetpassDlg::ReportSaveFailure() const {
    AppMessageBox(Window(), L"本地安全凭证写入失败！请检查系统权限或安全软件拦截。",
                  MB_OK | MB_ICONERROR);
}

}  // namespace brambolt
