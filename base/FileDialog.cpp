#include "base/FileDialog.h"

static FileDialogHook gOpenHook;
static FileDialogHook gSaveHook;

bool RunOpenFileDialog(OPENFILENAMEA* ofn) {
    if (gOpenHook)
        return gOpenHook(ofn);
    return GetOpenFileNameA(ofn) != FALSE;
}

bool RunSaveFileDialog(OPENFILENAMEA* ofn) {
    if (gSaveHook)
        return gSaveHook(ofn);
    return GetSaveFileNameA(ofn) != FALSE;
}

void SetFileDialogHooks(FileDialogHook open, FileDialogHook save) {
    gOpenHook = open;
    gSaveHook = save;
}
