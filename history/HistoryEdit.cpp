#include "history/HistoryEdit.h"

#include <commctrl.h>

#include "base/ByteString.h"
#include "base/FileIo.h"
#include "base/MessageBox.h"
#include "base/Texts.h"
#include "base/WinHandles.h"
#include "history/CommentDialog.h"
#include "history/HistoryFile.h"
#include "history/HistoryPaths.h"
#include "history/HistoryRecovery.h"
#include "history/HistoryView.h"
#include "history/TextFileDialog.h"
#include "resources/resource.h"
#include "settings/Settings.h"

static const char TextDeleteQuestion[] = "選択した行を削除します。よろしいですか？";
static const char TextNoFileToDelete[] = "削除するファイルが存在しません";
static const char TextListFull[] = "最大登録件数を超えました";
static const char TextAddNeedsOneRow[] = "複数選択してテキスト追加はできません？";
static const char DroppedComment[] = "DROP";

static HWND MainWindow() {
    return GetAncestor(gHistoryView.pane, GA_ROOT);
}

// After an edit of the rows: the list again in step with them, and changed.
static void RowsChanged() {
    SyncFromView();
    MarkHistoryChanged();
}

void BeginCommentEdit() {
    HWND list = gHistoryView.list;
    int row = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED | LVNI_SELECTED);
    if (row < 0)
        row = FirstSelectedRow();
    SendMessageA(list, LVM_EDITLABELA, row, 0);
}

// --- deleting ----------------------------------------------------------------

// Moves a file to the Recycle Bin, from where the user can restore it.  The
// shell asks nothing (the question about the rows was asked) and shows no
// progress or errors; where a drive has no Recycle Bin it warns before it
// would delete for good.  False when the file is not there or stays.
static bool RecycleFile(const char* path) {
    char full[PathSize + 1] = ""; // a list of names, ended by an empty one
    DWORD n = GetFullPathNameA(path, PathSize, full, NULL);
    DWORD attributes = n > 0 && n < PathSize ? GetFileAttributesA(full) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    full[n + 1] = '\0';
    SHFILEOPSTRUCTA op = {};
    op.hwnd = MainWindow();
    op.wFunc = FO_DELETE;
    op.pFrom = full;
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI | FOF_WANTNUKEWARNING;
    return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted && !FileExists(full);
}

// Only a picture of the kind the program writes goes with its row; a file
// the user dropped in is theirs.
static void DeleteImageOf(const HistoryRecord& r) {
    char path[PathSize];
    if (!IsCaptureImageFile(r.imagePath) || !ImageFullPath(gHistory.historyFolder, r.imagePath, path, countof(path)))
        return;
    if (!RecycleFile(path))
        AppMessageBox(gHistoryView.list, TextNoFileToDelete, path, MB_OK | MB_ICONWARNING);
}

// Always the first selected row goes: every row removed before it lay
// above it, so its record is its row plus the number already removed.
int DeleteSelected() {
    if (AppMessageBox(gHistoryView.list, TextDeleteQuestion, CaptionConfirm, MB_YESNOCANCEL | MB_ICONQUESTION) !=
        IDYES)
        return 0;
    int removed = 0;
    for (int row = FirstSelectedRow(); row >= 0; row = FirstSelectedRow()) {
        int record = row + removed;
        if (gSettings.keepImageOnDelete == 0 && record < gHistory.count)
            DeleteImageOf(gHistory.records[record]);
        SendMessageA(gHistoryView.list, LVM_DELETEITEM, row, 0);
        removed++;
    }
    RowsChanged();
    // No row is selected now: the preview clears.
    PostToMainWindow(WM_REFRESH_PREVIEW);
    return 1;
}

// --- moving ------------------------------------------------------------------

static void SelectRow(int row) {
    SetRowState(row, LVIS_SELECTED, LVIS_SELECTED);
}

int MoveUp() {
    int a = FirstSelectedRow();
    if (a <= 0 || a >= gHistory.count)
        return 0;
    InsertRecordRow(a - 1, gHistory.records[a]);
    SendMessageA(gHistoryView.list, LVM_DELETEITEM, a + 1, 0);
    SelectRow(a - 1);
    RowsChanged();
    return 1;
}

int MoveDown() {
    int a = FirstSelectedRow();
    if (a < 0 || a >= ListRowCount() - 1 || a >= gHistory.count)
        return 0;
    InsertRecordRow(a + 2, gHistory.records[a]);
    SendMessageA(gHistoryView.list, LVM_DELETEITEM, a, 0);
    SelectRow(a + 1);
    RowsChanged();
    return 1;
}

// --- comments and text files ---------------------------------------------------

int BatchEditComment() {
    char comment[CommentSize] = "";
    if (RunCommentDialog(gHistoryView.pane, comment, countof(comment)) != 1)
        return 0;
    int row = -1;
    while ((row = (int)SendMessageA(gHistoryView.list, LVM_GETNEXTITEM, (WPARAM)row, LVNI_SELECTED)) >= 0)
        SetCell(row, ColumnComment, comment);
    RowsChanged();
    return 1;
}

int ChooseTextFile() {
    if (SelectedRowCount() != 1) {
        AppMessageBox(gHistoryView.pane, TextAddNeedsOneRow, CaptionConfirm, MB_OK | MB_ICONQUESTION);
        return 0;
    }
    char name[PathSize] = "";
    if (RunTextFileDialog(MainWindow(), gHistory.historyFolder, name, countof(name)) != 1)
        return 1;
    SetCell(FirstSelectedRow(), ColumnText, name);
    RowsChanged();
    PostToMainWindow(WM_REFRESH_COMMANDS);
    return 1;
}

// --- dropped files -------------------------------------------------------------

static bool AddDroppedPath(const char* path) {
    if (gHistory.count >= MaxHistoryRecords) {
        AppMessageBox(gHistoryView.list, TextListFull, CaptionErrorUpper, MB_OK | MB_ICONERROR);
        return false;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[DateTimeSize];
    FormatDateStamp(stamp, countof(stamp), now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = gHistory.count;
    item.pszText = (char*)DroppedComment;
    int row = (int)SendMessageA(gHistoryView.list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    SetCell(row, ColumnImage, path);
    SetCell(row, ColumnDate, stamp);
    SetCell(row, ColumnText, "");
    gHistory.count++;
    MarkHistoryChanged();
    PostToMainWindow(WM_REFRESH_COMMANDS);
    return true;
}

void DropFiles(HDROP drop) {
    UINT files = DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0);
    for (UINT i = 0; i < files; i++) {
        char path[PathSize] = "";
        DragQueryFileA(drop, i, path, countof(path));
        if (!AddDroppedPath(path))
            break;
    }
    RowsChanged();
    DragFinish(drop);
}

// --- context menu --------------------------------------------------------------

static void EnableContextItems(HMENU menu) {
    bool selected = SelectedRowCount() > 0;
    bool withFile = selected && !gHistory.untitled;
    static const UINT RowCommands[] = { IDM_EDIT_COMMENT, IDM_EDIT_BATCHCOMMENT, IDM_EDIT_UP,
                                        IDM_EDIT_DOWN,    IDM_EDIT_DELETE,       IDM_LIST_OPENIMAGE };
    for (UINT id : RowCommands)
        EnableMenuItem(menu, id, MF_BYCOMMAND | (selected ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_LIST_TEXTINFO, MF_BYCOMMAND | (withFile ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_LIST_TEXTEDIT, MF_BYCOMMAND | (withFile ? MF_ENABLED : MF_GRAYED));
}

// A request from the keyboard has no position: the menu opens at the
// bottom-left of the focused row (or of the first selected one), or at the
// list's top-left corner when there is no row to point at.
static POINT KeyboardMenuPoint(HWND list) {
    int row = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    if (row < 0)
        row = FirstSelectedRow();
    POINT at = { 0, 0 };
    RECT r = {};
    r.left = LVIR_LABEL;
    if (row >= 0) {
        SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
        if (SendMessageA(list, LVM_GETITEMRECT, row, (LPARAM)&r))
            at = { r.left, r.bottom };
    }
    ClientToScreen(list, &at);
    return at;
}

void ShowContextMenu(HWND owner, int x, int y) {
    ScopedMenu menu(LoadMenuA(gHistoryView.instance, "POPUPMENUCSV"));
    HMENU popup = menu.Get() ? GetSubMenu(menu.Get(), 0) : NULL;
    if (!popup)
        return;
    EnableContextItems(popup);
    if (x == -1 && y == -1) {
        POINT at = KeyboardMenuPoint(gHistoryView.list);
        x = at.x;
        y = at.y;
    }
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, x, y, 0, owner, NULL);
}
