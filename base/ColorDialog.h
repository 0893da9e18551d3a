// The common colour dialog, behind a seam so that tests can answer it
// without a person.
#pragma once

#include <windows.h>

#include <commdlg.h>

// ChooseColorA; true when the user chose a colour (in cc->rgbResult).
bool RunColorDialog(CHOOSECOLORA* cc);

// A replacement for tests; NULL restores the real dialog.
typedef bool (*ColorDialogHook)(CHOOSECOLORA* cc);
void SetColorDialogHook(ColorDialogHook hook);
