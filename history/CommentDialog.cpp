#include "history/CommentDialog.h"

#include <windowsx.h>

#include <string.h>

#include "base/ByteString.h"
#include "base/EditByteLimit.h"
#include "base/ModalOwner.h"
#include "base/TextSizes.h"
#include "resources/resource.h"

enum {
    CommentEditLimit = CommentSize - 1, // bytes the edit takes: all a comment keeps
    CommentConfirmed = 1,
    CommentCancelled = 2,
};

struct CommentDialogState {
    char* comment;
    size_t size;
};

static CommentDialogState* State(HWND dialog) {
    return (CommentDialogState*)GetWindowLongPtrA(dialog, DWLP_USER);
}

static BOOL OnInitDialog(HWND dialog, HWND, LPARAM lParam) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    LimitEditBytes(GetDlgItem(dialog, IDC_COMMENT_EDIT), CommentEditLimit);
    return TRUE;
}

static void Confirm(HWND dialog) {
    CommentDialogState* s = State(dialog);
    char text[CommentSize] = "";
    GetDlgItemTextA(dialog, IDC_COMMENT_EDIT, text, (int)countof(text));
    DropCutHalfCharacter(text, countof(text));
    memset(s->comment, 0, s->size);
    CopyText(s->comment, s->size, text);
    EndDialog(dialog, CommentConfirmed);
}

static void OnCommand(HWND dialog, int id, HWND, UINT) {
    switch (id) {
    case IDC_COMMENT_OK:
    case IDOK:
        Confirm(dialog);
        break;
    case IDC_COMMENT_CANCEL:
    case IDCANCEL:
        EndDialog(dialog, CommentCancelled);
        break;
    }
}

static INT_PTR CALLBACK CommentDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return HANDLE_WM_INITDIALOG(dialog, wParam, lParam, OnInitDialog);
    case WM_COMMAND:
        HANDLE_WM_COMMAND(dialog, wParam, lParam, OnCommand);
        return TRUE;
    }
    return FALSE;
}

int RunCommentDialog(HWND owner, char* comment, size_t commentSize) {
    CommentDialogState state = { comment, commentSize };
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(owner, GWLP_HINSTANCE);
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_COMMENT), ModalOwner(owner), CommentDialogProc,
                                (LPARAM)&state);
}
