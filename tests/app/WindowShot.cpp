// Saves a PNG of a running Gyrolens as it shows on the screen, then closes
// it: used by tools/run.sh --screenshot, run under the same Wine display.
//
//   window_shot OUT.png [seconds]
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "tests/support/GuiTestSupport.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: window_shot OUT.png [seconds]\n");
        return 2;
    }
    int seconds = argc > 2 ? atoi(argv[2]) : 60;
    HWND main = NULL;
    for (int waited = 0; !main && waited < seconds * 10; waited++) {
        main = FindWindowA("GYROLENS_CLASS", NULL);
        if (!main)
            Sleep(100);
    }
    if (!main) {
        fprintf(stderr, "window_shot: no Gyrolens window\n");
        return 1;
    }
    // Once its queue is empty the window has painted.
    DWORD_PTR ignored;
    for (int i = 0; i < 3; i++) {
        SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
        Sleep(300);
    }
    RECT r;
    GetWindowRect(main, &r);
    bool ok = WritePngFile(argv[1], GrabScreenRect(r));
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (!ok)
        fprintf(stderr, "window_shot: cannot write %s\n", argv[1]);
    return ok ? 0 : 1;
}
