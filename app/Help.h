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

typedef HWND(WINAPI* HtmlHelpFn)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
// For tests: replaces the loading of HtmlHelpA from hhctrl.ocx.  The loader
// answers the function to call, or NULL as a system without the help
// viewer does; NULL restores the real loading.
typedef HtmlHelpFn (*HtmlHelpLoader)();
void SetHtmlHelpLoader(HtmlHelpLoader loader);
