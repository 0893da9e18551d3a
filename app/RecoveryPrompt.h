// At start-up, the recovery copy of unsaved history changes that an earlier
// run left behind (a crash, a forced restart, a power cut) is offered back.
#pragma once

#include <windows.h>

// Starts keeping recovery copies in the working folder and asks, owned by
// the main window, whether a copy found there is to be restored: "はい"
// makes it the current list, changed, under its own history file's name;
// "いいえ" keeps it aside under a dated name.  A copy that cannot be read
// is kept aside the same way, with a note saying so.
void OfferRecovery(HWND mainWindow);
