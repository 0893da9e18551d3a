// Starting another program or opening a document (ShellExecuteA), behind a
// seam so that tests can record what would have been started.
#pragma once

#include <windows.h>

// ShellExecuteA's result: above 32 when the program or document opened.
INT_PTR RunShellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                        const char* directory, int show);

// A replacement for tests; NULL restores ShellExecuteA.
typedef INT_PTR (*ShellExecuteHook)(HWND owner, const char* verb, const char* file, const char* parameters,
                                    const char* directory, int show);
void SetShellExecuteHook(ShellExecuteHook hook);
