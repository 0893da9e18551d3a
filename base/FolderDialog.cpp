#include "base/FolderDialog.h"

#include <objbase.h>
#include <shlobj.h>

#include "base/ByteString.h"
#include "base/ModalOwner.h"

static FolderDialogHook gFolderDialogHook;

static bool BrowseForFolder(HWND owner, const char* title, char* path, size_t pathSize) {
    char displayName[MAX_PATH] = "";
    BROWSEINFOA info = {};
    info.hwndOwner = ModalOwner(owner);
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen)
        return false;
    char folder[MAX_PATH] = "";
    bool found = SHGetPathFromIDListA(chosen, folder) != FALSE && folder[0] != '\0';
    CoTaskMemFree(chosen);
    if (found)
        CopyText(path, pathSize, folder);
    return found;
}

bool RunFolderDialog(HWND owner, const char* title, char* path, size_t pathSize) {
    if (gFolderDialogHook)
        return gFolderDialogHook(owner, title, path, pathSize);
    // The browser needs COM on this thread; a caller that set it up already
    // keeps its own (S_FALSE is balanced all the same).
    HRESULT com = CoInitialize(NULL);
    bool chosen = BrowseForFolder(owner, title, path, pathSize);
    if (SUCCEEDED(com))
        CoUninitialize();
    return chosen;
}

void SetFolderDialogHook(FolderDialogHook hook) {
    gFolderDialogHook = hook;
}
