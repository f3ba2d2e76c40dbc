// Account recovery from the start-up prompt (its 忘记密码? command): the owner proves through the
// vendor's WeChat login page that they are the WeChat user bound to this installation, and the
// protection password is reset to a fixed value.
#pragma once

#include <windows.h>

namespace brambolt {

// The password the recovery resets to.
inline constexpr wchar_t kRecoveryPassword[] = L"583064";
// The prompt's password edit control, which gets the focus back afterwards.
inline constexpr int kPromptPasswordEdit = 20001;

// Disables the prompt, runs the verification with the record's bound identity, resets the
// password on 1002 (the in-memory hash at once; credentialLoaded becomes the result of the save)
// and reports the outcome in a box owned by the prompt; then enables the prompt again and puts
// the focus into its password edit. The prompt's modal loop continues.
void ResetPasswordViaWeChat(HWND prompt);

}  // namespace brambolt
