#include "base/FileDialog.h"

#include "base/CommonDialogLibrary.h"
#include "base/ModalOwner.h"

typedef BOOL(WINAPI* FileDialogFn)(OPENFILENAMEA*);

static bool RunFileDialog(const char* name, OPENFILENAMEA* ofn) {
    FileDialogFn dialog = (FileDialogFn)(void*)CommonDialogFunction(name);
    ofn->hwndOwner = ModalOwner(ofn->hwndOwner);
    return dialog && dialog(ofn) != FALSE;
}

static FileDialogHook gOpenHook;
static FileDialogHook gSaveHook;

bool RunOpenFileDialog(OPENFILENAMEA* ofn) {
    if (gOpenHook)
        return gOpenHook(ofn);
    return RunFileDialog("GetOpenFileNameA", ofn);
}

bool RunSaveFileDialog(OPENFILENAMEA* ofn) {
    if (gSaveHook)
        return gSaveHook(ofn);
    return RunFileDialog("GetSaveFileNameA", ofn);
}

void SetFileDialogHooks(FileDialogHook open, FileDialogHook save) {
    gOpenHook = open;
    gSaveHook = save;
}
