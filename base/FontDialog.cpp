#include "base/FontDialog.h"

#include "base/CommonDialogLibrary.h"
#include "base/ModalOwner.h"

static FontDialogHook gFontDialogHook;

void SetFontDialogHook(FontDialogHook hook) {
    gFontDialogHook = hook;
}

bool RunFontDialog(CHOOSEFONTA* cf) {
    if (gFontDialogHook)
        return gFontDialogHook(cf);
    typedef BOOL(WINAPI * ChooseFontFn)(CHOOSEFONTA*);
    ChooseFontFn choose = (ChooseFontFn)(void*)CommonDialogFunction("ChooseFontA");
    cf->hwndOwner = ModalOwner(cf->hwndOwner);
    return choose && choose(cf) != FALSE;
}
