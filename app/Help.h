// The help commands: the contents, the search and the keyword lookup of
// GyrolensHelp.chm in the start-up folder, through the system's HTML Help
// control, which is loaded the first time help is asked for.
#pragma once

#include <windows.h>

void ShowHelpContents(HWND owner);
void ShowHelpSearch(HWND owner);
void ShowHelpKeyword(HWND owner);
// Un-initialises HTML Help when it was used.
void UninitializeHelp();

// For tests: replaces HtmlHelpA (loaded from hhctrl.ocx); NULL restores it.
typedef HWND(WINAPI* HtmlHelpFn)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
void SetHtmlHelpHook(HtmlHelpFn fn);
