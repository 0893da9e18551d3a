// Every message box of the program goes through AppMessageBox, so that the
// tests can answer the boxes and record what they said.
#pragma once

#include <windows.h>

int AppMessageBox(HWND owner, const char* text, const char* caption, UINT flags);

// A replacement for the real box, for tests; NULL restores MessageBoxA.
typedef int (*MessageBoxHook)(HWND owner, const char* text, const char* caption, UINT flags);
void SetMessageBoxHook(MessageBoxHook hook);
