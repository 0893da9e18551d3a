#include "base/FontDialog.h"

static FontDialogHook gFontDialogHook;

void SetFontDialogHook(FontDialogHook hook) {
    gFontDialogHook = hook;
}

bool RunFontDialog(CHOOSEFONTA* cf) {
    if (gFontDialogHook)
        return gFontDialogHook(cf);
    return ChooseFontA(cf) != FALSE;
}
