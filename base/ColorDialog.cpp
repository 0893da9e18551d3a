#include "base/ColorDialog.h"

#include "base/CommonDialogLibrary.h"
#include "base/ModalOwner.h"

static ColorDialogHook gColorDialogHook;

bool RunColorDialog(CHOOSECOLORA* cc) {
    if (gColorDialogHook)
        return gColorDialogHook(cc);
    typedef BOOL(WINAPI * ChooseColorFn)(CHOOSECOLORA*);
    ChooseColorFn choose = (ChooseColorFn)(void*)CommonDialogFunction("ChooseColorA");
    cc->hwndOwner = ModalOwner(cc->hwndOwner);
    return choose && choose(cc) != FALSE;
}

void SetColorDialogHook(ColorDialogHook hook) {
    gColorDialogHook = hook;
}
