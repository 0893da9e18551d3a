#include "history/HistoryView.h"

#include <string.h>

#include <windowsx.h>

#include "base/ByteString.h"
#include "base/Dpi.h"
#include "base/EditByteLimit.h"
#include "base/MessageBox.h"
#include "base/Texts.h"
#include "base/WinHandles.h"
#include "history/HistoryEdit.h"
#include "history/HistoryFile.h"
#include "history/HistoryLaunch.h"
#include "history/HistoryRecovery.h"
#include "resources/resource.h"
#include "settings/Settings.h"

HistoryListView gHistoryView;

static const char* const ColumnHeadings[HistoryColumnCount] = { "コメント", "イメージ情報", "日付", "テキスト情報" };

// Widths of what SyncFromView reads back from a row, terminator included.
// A row keeps a comment as whole as the record does (128 bytes), so that
// editing one row never shortens the comment of another.
enum { SyncCommentSize = CommentSize, SyncDateSize = 20 };

static LRESULT CALLBACK ListViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Stored widths are 96-DPI widths; the control shows them at its DPI.
static int ShownWidth(int stored) {
    return stored > 0 ? ScaleForDpi(stored, gHistoryView.dpi) : stored;
}

static void InsertColumns(HWND list) {
    for (int i = 0; i < HistoryColumnCount; i++) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = ShownWidth(gSettings.columnWidths[i]);
        column.pszText = (char*)ColumnHeadings[i];
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, (LPARAM)&column);
    }
}

HWND CreateView(HINSTANCE instance, HWND pane) {
    HistoryListView& v = gHistoryView;
    v.instance = instance;
    v.pane = pane;
    v.dpi = WindowDpi(pane);
    v.list = CreateWindowExA(0, WC_LISTVIEWA, "",
                             WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LVS_REPORT |
                                 LVS_SHOWSELALWAYS | LVS_EDITLABELS,
                             0, 0, 0, 0, pane, (HMENU)(INT_PTR)IDC_HISTORY_LIST, instance, NULL);
    if (!v.list)
        return NULL;
    DWORD extra = LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;
    SendMessageA(v.list, LVM_SETEXTENDEDLISTVIEWSTYLE, extra, extra);
    DragAcceptFiles(v.list, TRUE);
    v.previousProc = (WNDPROC)SetWindowLongPtrA(v.list, GWLP_WNDPROC, (LONG_PTR)ListViewProc);
    InsertColumns(v.list);
    ShowWindow(v.list, SW_HIDE);
    return v.list;
}

void ApplyFont() {
    HistoryListView& v = gHistoryView;
    const FontSetting& f = gSettings.fonts[FontHistory];
    HFONT font = CreateFontA(ScaleForDpi(f.pointSize, v.dpi), 0, 0, 0, f.logFont.lfWeight, f.logFont.lfItalic,
                             FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             PROOF_QUALITY, FIXED_PITCH | FF_MODERN, f.logFont.lfFaceName);
    if (!font)
        return;
    {
        ScopedWindowDC dc(v.list);
        ScopedSelect select(dc, font);
        GetTextMetricsA(dc, &v.metrics);
    }
    // Sent, not posted: the control takes the new font now, and only then
    // is the old one, which it drew with until this moment, deleted.
    SendMessageA(v.list, WM_SETFONT, (WPARAM)font, FALSE);
    if (v.font)
        DeleteObject(v.font);
    v.font = font;
}

void StoredColumnWidths(int widths[HistoryColumnCount]) {
    for (int i = 0; i < HistoryColumnCount; i++)
        widths[i] = UnscaleForDpi((int)SendMessageA(gHistoryView.list, LVM_GETCOLUMNWIDTH, i, 0),
                                  gHistoryView.dpi);
}

void ChangeViewDpi(int dpi) {
    HistoryListView& v = gHistoryView;
    int widths[HistoryColumnCount];
    StoredColumnWidths(widths);
    v.dpi = dpi;
    for (int i = 0; i < HistoryColumnCount; i++)
        SendMessageA(v.list, LVM_SETCOLUMNWIDTH, i, ShownWidth(widths[i]));
    if (v.fontMade)
        ApplyFont();
}

void FitToPane() {
    HistoryListView& v = gHistoryView;
    if (!v.fontMade) {
        v.fontMade = 1;
        ApplyFont();
    }
    RECT r;
    GetWindowRect(v.pane, &r);
    MoveWindow(v.list, 0, 0, r.right - r.left, r.bottom - r.top, TRUE);
}

// --- rows --------------------------------------------------------------------

void SetCell(int row, int column, const char* text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = (char*)text;
    SendMessageA(gHistoryView.list, LVM_SETITEMTEXTA, row, (LPARAM)&item);
}

void InsertRecordRow(int row, const HistoryRecord& r) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = (char*)r.comment;
    int at = (int)SendMessageA(gHistoryView.list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    char image[PathSize + 1];
    HistoryImageField(r, image, countof(image));
    SetCell(at, ColumnImage, image);
    SetCell(at, ColumnDate, r.dateTime);
    SetCell(at, ColumnText, r.textPath);
}

void FillFromList() {
    if (gHistory.count < 1 || gHistory.count > MaxHistoryRecords)
        return;
    HWND list = gHistoryView.list;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, gHistory.count, 0);
    for (int i = 0; i < gHistory.count; i++)
        InsertRecordRow(i, gHistory.records[i]);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
}

void SetRowState(int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.stateMask = mask;
    item.state = state;
    SendMessageA(gHistoryView.list, LVM_SETITEMSTATE, row, (LPARAM)&item);
}

void AddNewestRow() {
    if (gHistory.count < 1 || gHistory.count > MaxHistoryRecords)
        return;
    int row = gHistory.count - 1;
    InsertRecordRow(row, gHistory.records[row]);
    MarkHistoryChanged();
    SendMessageA(gHistoryView.list, LVM_ENSUREVISIBLE, row, FALSE);
    SetRowState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SetRowState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void ClearAll() {
    SendMessageA(gHistoryView.list, LVM_DELETEALLITEMS, 0, 0);
    ClearHistoryRecords(gHistory);
}

void GetCellText(int row, int column, char* out, int size) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = out;
    item.cchTextMax = size;
    out[0] = '\0';
    SendMessageA(gHistoryView.list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    DropCutHalfCharacter(out, (size_t)size);
}

void SyncFromView() {
    ClearHistoryRecords(gHistory);
    int rows = ListRowCount();
    if (rows > MaxHistoryRecords)
        rows = MaxHistoryRecords;
    for (int i = 0; i < rows; i++) {
        HistoryRecord& r = gHistory.records[i];
        GetCellText(i, ColumnComment, r.comment, SyncCommentSize);
        GetCellText(i, ColumnImage, r.imagePath, (int)countof(r.imagePath));
        GetCellText(i, ColumnDate, r.dateTime, SyncDateSize);
        GetCellText(i, ColumnText, r.textPath, (int)countof(r.textPath));
        r.inHistoryFolder = IsHistoryRelative(r.imagePath) ? 1 : 0;
    }
    gHistory.count = rows;
}

int ListRowCount() {
    return (int)SendMessageA(gHistoryView.list, LVM_GETITEMCOUNT, 0, 0);
}

int FirstSelectedRow() {
    return (int)SendMessageA(gHistoryView.list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

int SelectedRowCount() {
    return (int)SendMessageA(gHistoryView.list, LVM_GETSELECTEDCOUNT, 0, 0);
}

// A message already waiting is not posted again: selecting a thousand rows
// changes a thousand items, and one refresh serves them all.
void PostToMainWindow(UINT message) {
    HWND main = GetAncestor(gHistoryView.pane, GA_ROOT);
    MSG waiting;
    if (!PeekMessageA(&waiting, main, message, message, PM_NOREMOVE))
        PostMessageA(main, message, 0, 0);
}

// --- file commands -----------------------------------------------------------

// The text typed so far into an open edit goes into its row first, as if
// the user had left the edit: a save never misses it.
void EndCommentEdit() {
    if (SendMessageA(gHistoryView.list, LVM_GETEDITCONTROL, 0, 0))
        SendMessageA(gHistoryView.list, LVM_CANCELEDITLABEL, 0, 0);
}

int ConfirmDiscard() {
    EndCommentEdit();
    if (gHistory.modified != 1)
        return 1;
    int answer = AppMessageBox(gHistoryView.pane, TextDiscardQuestion, CaptionSaveConfirm,
                               MB_YESNOCANCEL | MB_ICONWARNING);
    if (answer == IDCANCEL)
        return 0;
    if (answer == IDNO) {
        DiscardRecoveryCopy();
        return 1;
    }
    return SaveHistory();
}

int OpenHistory() {
    if (!ChooseFileToOpen(gHistory, gHistoryView.list)) {
        // A discard confirmed before took the copy of a list that stays.
        RecoveryFollowsList();
        return 0;
    }
    ClearAll();
    ReadHistoryFile(gHistory, gHistoryView.list);
    FillFromList();
    return 1;
}

int NewHistory() {
    ResetToNew(gHistory, gHistoryView.list);
    ClearAll();
    return 1;
}

int SaveHistory() {
    EndCommentEdit();
    int saved = SaveHistoryList(gHistory, gHistoryView.list) ? 1 : 0;
    RecoveryFollowsList();
    return saved;
}

int SaveHistoryAs() {
    EndCommentEdit();
    int saved = SaveHistoryListAs(gHistory, gHistoryView.list) ? 1 : 0;
    RecoveryFollowsList();
    return saved;
}

// --- notifications and the control's own messages ----------------------------

// The editor takes exactly the bytes a comment keeps, so that nothing typed
// is cut when the edit ends.
static void OnBeginLabelEdit() {
    HWND edit = (HWND)SendMessageA(gHistoryView.list, LVM_GETEDITCONTROL, 0, 0);
    LimitEditBytes(edit, CommentSize - 1);
    MarkHistoryChanged();
    // Saving is offered at once, from the toolbar as from the menu.
    PostToMainWindow(WM_REFRESH_COMMANDS);
}

// Whatever ended the edit, even Escape, the edit box's text is kept.  A
// changed text marks the list changed, also after a save during the edit.
static void OnEndLabelEdit(const NMLVDISPINFOA* info) {
    char text[CommentSize] = "";
    HWND edit = (HWND)SendMessageA(gHistoryView.list, LVM_GETEDITCONTROL, 0, 0);
    if (edit)
        GetWindowTextA(edit, text, (int)countof(text));
    else if (info->item.pszText)
        CopyText(text, countof(text), info->item.pszText);
    char before[CommentSize] = "";
    GetCellText(info->item.iItem, ColumnComment, before, (int)countof(before));
    if (strcmp(before, text) != 0)
        MarkHistoryChanged();
    SetCell(info->item.iItem, ColumnComment, text);
    SyncFromView();
    RecoveryFollowsList();
    PostToMainWindow(WM_REFRESH_COMMANDS);
}

static void RefreshCommands() {
    PostToMainWindow(WM_REFRESH_COMMANDS);
}

static void OnListKeyDown(const NMLVKEYDOWN* key) {
    switch (key->wVKey) {
    case VK_RETURN:
        OpenSelected();
        break;
    case VK_DELETE:
        if (DeleteSelected())
            RefreshCommands();
        break;
    case VK_UP:
    case VK_DOWN:
        PostToMainWindow(WM_REFRESH_PREVIEW);
        break;
    }
}

void OnListNotify(int controlId, NMHDR* header) {
    if (controlId != IDC_HISTORY_LIST || !header)
        return;
    switch (header->code) {
    case LVN_KEYDOWN:
        OnListKeyDown((const NMLVKEYDOWN*)header);
        break;
    case LVN_BEGINLABELEDITA:
        OnBeginLabelEdit();
        break;
    case LVN_ENDLABELEDITA:
        OnEndLabelEdit((const NMLVDISPINFOA*)header);
        break;
    case LVN_ITEMCHANGED:
        PostToMainWindow(WM_REFRESH_PREVIEW);
        PostToMainWindow(WM_REFRESH_COMMANDS);
        break;
    }
}

// The context menu's commands come back here.  After the commands that
// change rows the main window refreshes its command states.
static void OnListCommand(int id) {
    switch (id) {
    case IDM_EDIT_BATCHCOMMENT: if (BatchEditComment()) RefreshCommands(); break;
    case IDM_EDIT_DELETE:       DeleteSelected(); RefreshCommands(); break;
    case IDM_LIST_OPENIMAGE:    OpenSelected(); break;
    case IDM_EDIT_COMMENT:      BeginCommentEdit(); break;
    case IDM_LIST_TEXTINFO:     ChooseTextFile(); break;
    case IDM_LIST_TEXTEDIT:     EditTextFile(); break;
    case IDM_EDIT_UP:           MoveUp(); RefreshCommands(); break;
    case IDM_EDIT_DOWN:         MoveDown(); RefreshCommands(); break;
    }
}

static void OnListContextMenu(HWND hwnd, HWND target, int x, int y) {
    if (target == hwnd)
        ShowContextMenu(hwnd, x, y);
}

// The in-place comment editor is a child of the control and reports to it
// through WM_COMMAND; those reports stay with the control, which ends the
// edit on them.  Menu commands carry no window.
static LRESULT OnCommandMessage(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (lParam)
        return CallWindowProcA(gHistoryView.previousProc, hwnd, WM_COMMAND, wParam, lParam);
    OnListCommand(LOWORD(wParam));
    return 0;
}

static LRESULT CALLBACK ListViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SHOWWINDOW:
        SetFocus(hwnd);
        return 0;
    case WM_CONTEXTMENU:
        OnListContextMenu(hwnd, (HWND)wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_COMMAND:
        return OnCommandMessage(hwnd, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        OpenAtPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_DROPFILES:
        DropFiles((HDROP)wParam);
        return 0;
    }
    return CallWindowProcA(gHistoryView.previousProc, hwnd, msg, wParam, lParam);
}
