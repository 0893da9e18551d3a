// Saves a PNG of a running Gyrolens as it shows on the screen, then closes
// it: used by tools/run.sh --screenshot, run under the same Wine display.
// With a number of captures, whole-screen captures are taken first, as the
// hotkey takes them, and the question about saving them is answered "No".
// Prints the window's rectangle ("window X Y WIDTH HEIGHT") on stdout.
//
//   window_shot OUT.png [seconds] [captures]
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
    DWORD_PTR ignored;
    int captures = argc > 3 ? atoi(argv[3]) : 0;
    for (int i = 0; i < captures; i++) {
        SendMessageTimeoutA(main, WM_HOTKEY, 103, 0, SMTO_NORMAL, 10000, &ignored);
        Sleep(200);
    }
    // Once its queue is empty the window has painted.
    for (int i = 0; i < 3; i++) {
        SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
        Sleep(300);
    }
    RECT r;
    GetWindowRect(main, &r);
    printf("window %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    fflush(stdout);
    bool ok = WritePngFile(argv[1], GrabScreenRect(r));
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (captures > 0) {
        DWORD process = 0;
        GetWindowThreadProcessId(main, &process);
        for (int waited = 0; waited < 100; waited++) {
            HWND box = FindWindowA("#32770", NULL);
            DWORD owner = 0;
            if (box)
                GetWindowThreadProcessId(box, &owner);
            if (box && owner == process) {
                PostMessageA(box, WM_COMMAND, IDNO, 0);
                break;
            }
            Sleep(100);
        }
    }
    if (!ok)
        fprintf(stderr, "window_shot: cannot write %s\n", argv[1]);
    return ok ? 0 : 1;
}
