#include "history/HistoryEdit.h"

#include <commctrl.h>

#include "history/HistoryView.h"

void BeginCommentEdit() {
    HWND list = gHistoryView.list;
    int row = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED | LVNI_SELECTED);
    if (row < 0)
        row = FirstSelectedRow();
    SendMessageA(list, LVM_EDITLABELA, row, 0);
}

int DeleteSelected() {
    return 0;
}

int MoveUp() {
    return 0;
}

int MoveDown() {
    return 0;
}

int BatchEditComment() {
    return 0;
}
