#include "base/ColorDialog.h"

static ColorDialogHook gColorDialogHook;

bool RunColorDialog(CHOOSECOLORA* cc) {
    if (gColorDialogHook)
        return gColorDialogHook(cc);
    return ChooseColorA(cc) != FALSE;
}

void SetColorDialogHook(ColorDialogHook hook) {
    gColorDialogHook = hook;
}
