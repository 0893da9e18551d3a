// The shell's folder browser, behind a seam so that tests can answer it
// without a person.
#pragma once

#include <windows.h>

#include <stddef.h>

// Lets the user pick a file-system folder under the title `title`.  True when
// one was chosen: `path` then holds it (cut to pathSize).  Cancelled, or a
// choice that is no file-system folder: false, and `path` is left as it was.
bool RunFolderDialog(HWND owner, const char* title, char* path, size_t pathSize);

// A replacement for tests; NULL restores the real browser.
typedef bool (*FolderDialogHook)(HWND owner, const char* title, char* path, size_t pathSize);
void SetFolderDialogHook(FolderDialogHook hook);
