// The common font dialog, behind a seam so that tests can answer it without
// a person.
#pragma once

#include <windows.h>

#include <commdlg.h>

// ChooseFontA: true when the user confirmed; the dialog has then written
// *cf->lpLogFont and cf->iPointSize.
bool RunFontDialog(CHOOSEFONTA* cf);

// A replacement for tests; NULL restores the real dialog.
typedef bool (*FontDialogHook)(CHOOSEFONTA* cf);
void SetFontDialogHook(FontDialogHook hook);
