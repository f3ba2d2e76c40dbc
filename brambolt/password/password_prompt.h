// The start-up prompt for the protection password.
#pragma once

#include <windows.h>

#include <functional>

namespace brambolt {

// Asks for the password until the hash of the typed text equals passwordHash of the process's
// credential record (true). After a wrong password the user may retry as often as they like; Cancel
// there, Escape or closing the prompt give false, as does a prompt that cannot be created. The
// prompt's window is gone on return. recoverAccount runs on the prompt's 忘记密码? button; it may
// replace passwordHash, and the next attempt compares against the new value.
bool RunPasswordPrompt(const std::function<void(HWND prompt)>& recoverAccount);

}  // namespace brambolt
