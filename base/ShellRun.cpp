#include "base/ShellRun.h"

#include <shellapi.h>

static ShellExecuteHook gShellExecuteHook;

INT_PTR RunShellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                        const char* directory, int show) {
    if (gShellExecuteHook)
        return gShellExecuteHook(owner, verb, file, parameters, directory, show);
    return (INT_PTR)ShellExecuteA(owner, verb, file, parameters, directory, show);
}

void SetShellExecuteHook(ShellExecuteHook hook) {
    gShellExecuteHook = hook;
}
