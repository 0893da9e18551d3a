#include "base/ModalOwner.h"

HWND ModalOwner(HWND hwnd) {
    if (!hwnd || !IsWindow(hwnd))
        return hwnd;
    HWND root = GetAncestor(hwnd, GA_ROOT);
    return root ? root : hwnd;
}
