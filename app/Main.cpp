// Gyrolens: a screen-capture tool that keeps a history of its captures.
#include <windows.h>

#include "app/Application.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int showCommand) {
    return RunApplication(hInstance, showCommand);
}
