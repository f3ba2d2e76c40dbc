// Start-up's credential steps: the sealed credential record is loaded, and when it holds a
// password the start-up prompt asks for it.
#pragma once

namespace brambolt {

// True when the main dialog may open: no password is set, or the right one was entered. False
// ends the program without the main dialog, also after telling the user that a record file that
// is there could not be read (after a few tries): only a missing file or one that is no record
// means that no password is set.
bool PassCredentialGate();

}  // namespace brambolt
