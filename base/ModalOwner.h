// The owner of every modal window the program opens.
#pragma once

#include <windows.h>

// The top-level window that holds `hwnd`.  A modal box or dialog owned by it
// disables the whole window while it is open; owned by a child, it would
// leave the menu, the toolbar and the hotkeys of the window working.  A
// handle that names no window is given back as it is.
HWND ModalOwner(HWND hwnd);
