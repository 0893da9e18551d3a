// Start-up and the message loop.
#pragma once

#include <windows.h>

// Wires the upward calls of the engines to the shell: the capture engine's
// shell link and the history's monitoring link.  Done once, at start-up.
void WireLinks();
// Start-up up to the message loop: links, window class, main window, the
// capture engine's file settings, the about box's font and cursor.  False
// when the main window could not be created.
bool StartShell(HINSTANCE hInstance, int showCommand);
// What the message loop does with a message before dispatching it: the
// accelerators of table 109 and the key panel's dialog keys.  True when
// the message was used up.
bool TranslateShellMessage(MSG* msg);
// The message loop; returns the exit code.
int RunMessageLoop();
int RunApplication(HINSTANCE hInstance, int showCommand);
