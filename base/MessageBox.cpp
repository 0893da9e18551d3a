#include "base/MessageBox.h"

#include "base/ModalOwner.h"

static MessageBoxHook gMessageBoxHook;

int AppMessageBox(HWND owner, const char* text, const char* caption, UINT flags) {
    if (gMessageBoxHook)
        return gMessageBoxHook(owner, text, caption, flags);
    return MessageBoxA(ModalOwner(owner), text, caption, flags);
}

void SetMessageBoxHook(MessageBoxHook hook) {
    gMessageBoxHook = hook;
}
