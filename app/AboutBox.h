// The about box (dialog 103): the program icon, the version line and the
// maker's web address as a link that opens in the browser.
#pragma once

#include <windows.h>

void ShowAboutBox(HWND owner);
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// The hand cursor of winhlp32.exe, or the arrow when that is missing.
HCURSOR LoadLinkCursor();
// 17-pixel bold underlined Times New Roman.
HFONT CreateLinkFont();
