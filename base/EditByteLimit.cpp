#include "base/EditByteLimit.h"

#include <commctrl.h>
#include <string.h>

enum {
    ByteLimitSubclassId = 0x4279, // "By"
    // Longest text the check reads back; a text set longer than this by the
    // program is left to the control.
    ByteLimitReadSize = 1024,
};

// Every message that can put text in: keys (Shift+Insert pastes), the
// context menu's commands run inside WM_CONTEXTMENU.
static bool IsInput(UINT msg) {
    switch (msg) {
    case WM_KEYDOWN:
    case WM_CONTEXTMENU:
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
    case WM_PASTE:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
        return true;
    }
    return false;
}

// The text's length in bytes, or ByteLimitReadSize when it may not fit.
static size_t TextBytes(HWND edit, char* text) {
    text[0] = '\0';
    if (GetWindowTextLengthA(edit) >= ByteLimitReadSize - 1)
        return ByteLimitReadSize;
    GetWindowTextA(edit, text, ByteLimitReadSize);
    return strlen(text);
}

// Lets the input happen, then takes it back when it grew the text past the
// limit: the text and the selection return to what they were.
static LRESULT GuardInput(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, size_t maxBytes) {
    char before[ByteLimitReadSize];
    size_t oldBytes = TextBytes(edit, before);
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    LRESULT result = DefSubclassProc(edit, msg, wParam, lParam);
    char after[ByteLimitReadSize];
    size_t newBytes = TextBytes(edit, after);
    if (newBytes > maxBytes && newBytes > oldBytes && oldBytes < ByteLimitReadSize) {
        SetWindowTextA(edit, before);
        SendMessageA(edit, EM_SETSEL, start, end);
        MessageBeep(MB_OK);
    }
    return result;
}

static LRESULT CALLBACK ByteLimitProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR maxBytes) {
    if (IsInput(msg))
        return GuardInput(edit, msg, wParam, lParam, (size_t)maxBytes);
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(edit, ByteLimitProc, ByteLimitSubclassId);
    return DefSubclassProc(edit, msg, wParam, lParam);
}

void LimitEditBytes(HWND edit, size_t maxBytes) {
    if (!edit)
        return;
    // The control's own limit counts characters: never more than the bytes.
    SendMessageA(edit, EM_LIMITTEXT, maxBytes, 0);
    SetWindowSubclass(edit, ByteLimitProc, ByteLimitSubclassId, (DWORD_PTR)maxBytes);
}
