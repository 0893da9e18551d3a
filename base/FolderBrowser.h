// The shell's folder browser, behind a seam so that tests can answer it
// without a person.
#pragma once

#include <windows.h>

#include <stddef.h>

// Lets the user pick a file-system folder under the title `title`; on
// success its full path is in `folder` and the result is true.  Cancelling
// leaves `folder` as it was.
bool RunFolderBrowser(HWND owner, const char* title, char* folder, size_t folderSize);

// A replacement for tests; NULL restores the real browser.
typedef bool (*FolderBrowserHook)(HWND owner, const char* title, char* folder, size_t folderSize);
void SetFolderBrowserHook(FolderBrowserHook hook);
