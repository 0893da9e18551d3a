// The common dialog library (comdlg32.dll) is loaded the first time a file,
// font or colour dialog opens rather than at start-up: most runs never open
// one, and loading it is a noticeable part of starting the program.
#pragma once

#include <windows.h>

// The named function of comdlg32.dll, or NULL when it cannot be loaded.
FARPROC CommonDialogFunction(const char* name);
