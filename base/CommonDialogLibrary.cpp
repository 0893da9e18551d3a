#include "base/CommonDialogLibrary.h"

FARPROC CommonDialogFunction(const char* name) {
    // Kept for the life of the process, like an imported library.
    static HMODULE library = LoadLibraryA("comdlg32.dll");
    return library ? GetProcAddress(library, name) : NULL;
}
