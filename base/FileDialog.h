// The common open and save dialogs, behind a seam so that tests can answer
// them without a person.
#pragma once

#include <windows.h>

#include <commdlg.h>

bool RunOpenFileDialog(OPENFILENAMEA* ofn);
bool RunSaveFileDialog(OPENFILENAMEA* ofn);

// Replacements for tests; NULL restores the real dialogs.
typedef bool (*FileDialogHook)(OPENFILENAMEA* ofn);
void SetFileDialogHooks(FileDialogHook open, FileDialogHook save);
