// The key-assignment panel "キー割り当て": the eight capture hotkeys, each
// with a toggle ("有効" / "無効") and a hotkey control, and the cursor
// picture of the two cursor-picture modes.  Every change is saved at once
// and, while capture monitoring is on, the hotkeys are registered anew.
#pragma once

#include <windows.h>

// Creates the panel (dialog 147) as a modeless child of `container`, shows
// it and returns it.  Its hotkeys are registered on the top-level window
// that contains it.
HWND CreateKeyPanel(HINSTANCE instance, HWND container);

// Shows again which rows are enabled and which enabled hotkeys could not be
// registered ("使用中").  Call after capture monitoring was started or
// stopped.
void RefreshKeyPanel(HWND panel);
