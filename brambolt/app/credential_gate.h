// Start-up's credential steps: the sealed credential record is loaded, and when it holds a
// password the start-up prompt asks for it.
#pragma once

namespace brambolt {

// True when the main dialog may open: no password is set, or the right one was entered. False
// ends the program without the main dialog.
bool PassCredentialGate();

}  // namespace brambolt
