// The about box (dialog 103): the program icon, the version line and the
// maker's web address as a link that opens in the browser.
#pragma once

#include <windows.h>

void ShowAboutBox(HWND owner);
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// The hand cursor of winhlp32.exe, or the arrow when that is missing.
HCURSOR LoadLinkCursor();
// Bold underlined Times New Roman, 17 pixels high at 96 DPI.
HFONT CreateLinkFont(int dpi);
