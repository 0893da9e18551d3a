#include "base/FolderBrowser.h"

#include <objbase.h>
#include <shlobj.h>

#include "base/ByteString.h"

static FolderBrowserHook gFolderBrowserHook;

void SetFolderBrowserHook(FolderBrowserHook hook) {
    gFolderBrowserHook = hook;
}

// SHBrowseForFolderA wants COM on the calling thread; the program itself
// does not need it otherwise, so it is held only around the browser.
static bool BrowseWithShell(HWND owner, const char* title, char* folder, size_t folderSize) {
    HRESULT com = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    bool chosen = false;
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (item) {
        char path[MAX_PATH] = "";
        if (SHGetPathFromIDListA(item, path))
            chosen = CopyText(folder, folderSize, path);
        CoTaskMemFree(item);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return chosen;
}

bool RunFolderBrowser(HWND owner, const char* title, char* folder, size_t folderSize) {
    if (gFolderBrowserHook)
        return gFolderBrowserHook(owner, title, folder, folderSize);
    return BrowseWithShell(owner, title, folder, folderSize);
}
