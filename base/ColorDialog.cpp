#include "base/ColorDialog.h"

#include "base/CommonDialogLibrary.h"

static ColorDialogHook gColorDialogHook;

bool RunColorDialog(CHOOSECOLORA* cc) {
    if (gColorDialogHook)
        return gColorDialogHook(cc);
    typedef BOOL(WINAPI * ChooseColorFn)(CHOOSECOLORA*);
    ChooseColorFn choose = (ChooseColorFn)(void*)CommonDialogFunction("ChooseColorA");
    return choose && choose(cc) != FALSE;
}

void SetColorDialogHook(ColorDialogHook hook) {
    gColorDialogHook = hook;
}
