#include "app/CommandBars.h"

#include <string.h>

#include "base/Dpi.h"
#include "history/HistoryFile.h"
#include "history/HistoryView.h"
#include "resources/resource.h"

Toolbar gToolbar;
StatusBar gStatusBar;

struct ToolbarEntry {
    int image;      // standard image, or strip image once the strip is added
    int command;
    BYTE state;
    BYTE style;
    const char* tip;
};

// In button-table order; the display puts separators after 2, 6 and 7.
static const ToolbarEntry ToolbarTable[ToolbarButtonCount] = {
    { STD_FILENEW, IDM_FILE_NEW, TBSTATE_ENABLED, TBSTYLE_BUTTON, "新規作成" },
    { STD_FILEOPEN, IDM_FILE_OPEN, TBSTATE_ENABLED, TBSTYLE_BUTTON, "ファイルを開く" },
    { STD_FILESAVE, IDM_FILE_SAVE, TBSTATE_INDETERMINATE, TBSTYLE_BUTTON, "上書きして保存" },
    { 0, IDM_EDIT_BATCHCOMMENT, TBSTATE_ENABLED, TBSTYLE_BUTTON, "履歴編集" },
    { 1, IDM_EDIT_DELETE, TBSTATE_ENABLED, TBSTYLE_BUTTON, "履歴削除" },
    { 2, IDM_EDIT_UP, TBSTATE_ENABLED, TBSTYLE_BUTTON, "履歴上移動" },
    { 3, IDM_EDIT_DOWN, TBSTATE_ENABLED, TBSTYLE_BUTTON, "履歴下移動" },
    { 4, IDM_CAPTURE_TOGGLE, TBSTATE_ENABLED, TBSTYLE_CHECK, "キャプチャー" },
    { 5, IDM_TOOLS_HTML, TBSTATE_ENABLED, TBSTYLE_BUTTON, "HTML出力" },
};

enum { StandardButtons = 3 };

// The pictures at each size they are drawn at: the common controls'
// standard new, open and save where they have them, then the program's own
// strip, which at 32 pixels holds its own new, open and save first.
struct ToolbarPictures {
    int width, height;
    int standardBitmap; // IDB_STD_..._COLOR, or -1
    int strip;
    int stripImages;
};
static const ToolbarPictures PictureSets[SmallPictureSizeCount] = {
    { 16, 15, IDB_STD_SMALL_COLOR, IDB_TOOLBAR, 6 },
    { 24, 24, IDB_STD_LARGE_COLOR, IDB_TOOLBAR_24, 6 },
    { 32, 32, -1, IDB_TOOLBAR_32, 9 },
};

// The button the common controls make round a 16 x 15 picture at 96 DPI,
// and the room round the picture it leaves.
enum { ButtonWidth = 23, ButtonHeight = 22, ButtonPadding = 7 };

static const ToolbarPictures& PicturesFor(int dpi) {
    int size = SmallPictureSize(dpi);
    for (const ToolbarPictures& p : PictureSets)
        if (p.width == size)
            return p;
    return PictureSets[0];
}

static TBBUTTON MakeButton(const ToolbarEntry& e, int imageBase) {
    TBBUTTON b = {};
    b.iBitmap = e.image + imageBase;
    b.idCommand = e.command;
    b.fsState = e.state;
    b.fsStyle = e.style;
    return b;
}

static void InsertSeparator(int position) {
    TBBUTTON sep = {};
    sep.fsState = TBSTATE_ENABLED;
    sep.fsStyle = TBSTYLE_SEP;
    SendMessageA(gToolbar.hwnd, TB_INSERTBUTTONA, position, (LPARAM)&sep);
}

static int AtLeast(int value, int minimum) {
    return value < minimum ? minimum : value;
}

HWND CreateToolbar(HWND parent, HINSTANCE instance, int dpi) {
    const ToolbarPictures& pictures = PicturesFor(dpi);
    bool standard = pictures.standardBitmap >= 0;
    TBBUTTON buttons[StandardButtons];
    for (int i = 0; i < StandardButtons; i++)
        buttons[i] = MakeButton(ToolbarTable[i], 0);
    if (!standard)
        for (int i = 0; i < StandardButtons; i++)
            buttons[i].iBitmap = i;
    gToolbar.hwnd = CreateToolbarEx(parent, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, 0,
                                    standard ? StandardButtons : 0, standard ? HINST_COMMCTRL : NULL,
                                    standard ? pictures.standardBitmap : 0, buttons, StandardButtons, 0, 0,
                                    pictures.width, pictures.height, sizeof(TBBUTTON));
    if (!gToolbar.hwnd)
        return NULL;
    // Light grey in the strip becomes the button face.
    gToolbar.imageStrip = (HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(pictures.strip), IMAGE_BITMAP, 0, 0,
                                              LR_LOADMAP3DCOLORS);
    TBADDBITMAP strip = { NULL, (UINT_PTR)gToolbar.imageStrip };
    int base = (int)SendMessageA(gToolbar.hwnd, TB_ADDBITMAP, pictures.stripImages, (LPARAM)&strip);
    if (!standard)
        base += StandardButtons;
    TBBUTTON own[ToolbarButtonCount - StandardButtons];
    for (int i = StandardButtons; i < ToolbarButtonCount; i++)
        own[i - StandardButtons] = MakeButton(ToolbarTable[i], base);
    SendMessageA(gToolbar.hwnd, TB_ADDBUTTONSA, ToolbarButtonCount - StandardButtons, (LPARAM)own);
    InsertSeparator(3);
    InsertSeparator(8);
    InsertSeparator(10);
    int width = AtLeast(ScaleForDpi(ButtonWidth, dpi), pictures.width + ButtonPadding);
    int height = AtLeast(ScaleForDpi(ButtonHeight, dpi), pictures.height + ButtonPadding);
    SendMessageA(gToolbar.hwnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height));
    SendMessageA(gToolbar.hwnd, TB_AUTOSIZE, 0, 0);
    return gToolbar.hwnd;
}

// The pictures of another size: a new toolbar in the old one's place,
// which the three refreshes then bring up to date.
void RecreateToolbar(HWND parent, HINSTANCE instance, int dpi) {
    if (gToolbar.hwnd)
        DestroyWindow(gToolbar.hwnd);
    DestroyToolbarImages();
    CreateToolbar(parent, instance, dpi);
}

void DestroyToolbarImages() {
    if (gToolbar.imageStrip)
        DeleteObject(gToolbar.imageStrip);
    gToolbar.imageStrip = NULL;
}

void ResizeToolbar(WPARAM wParam, LPARAM lParam) {
    if (gToolbar.hwnd)
        SendMessageA(gToolbar.hwnd, WM_SIZE, wParam, lParam);
}

void SetToolbarButtonState(int index, int state) {
    SendMessageA(gToolbar.hwnd, TB_SETSTATE, ToolbarTable[index].command, MAKELPARAM(state, 0));
}

int GetToolbarButtonState(int index) {
    return (int)SendMessageA(gToolbar.hwnd, TB_GETSTATE, ToolbarTable[index].command, 0);
}

void GetToolbarTipText(UINT_PTR commandId, NMTTDISPINFOA* dispInfo) {
    for (const ToolbarEntry& e : ToolbarTable)
        if ((UINT_PTR)e.command == commandId)
            dispInfo->lpszText = (char*)e.tip;
}

// --- status bar --------------------------------------------------------------

HWND CreateStatusBar(HWND parent, HINSTANCE instance) {
    gStatusBar.hwnd = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM,
                                      0, 0, 0, 0, parent, (HMENU)(INT_PTR)IDC_STATUSBAR, instance, NULL);
    return gStatusBar.hwnd;
}

enum { StatusTextSize = 256 };

// The text a part shows; empty (and false) when it does not fit.
static bool ReadStatusText(int part, char (&out)[StatusTextSize]) {
    out[0] = '\0';
    if (LOWORD(SendMessageA(gStatusBar.hwnd, SB_GETTEXTLENGTHA, part, 0)) >= StatusTextSize)
        return false;
    SendMessageA(gStatusBar.hwnd, SB_GETTEXTA, part, (LPARAM)out);
    return true;
}

// The status bar takes the system's font for the DPI it is made at: a new
// one replaces it, showing what the old one showed.
void RecreateStatusBar(HWND parent, HINSTANCE instance) {
    enum { ShownParts = 2 };
    char shown[ShownParts][StatusTextSize];
    for (int part = 0; part < ShownParts; part++)
        ReadStatusText(part, shown[part]);
    if (gStatusBar.hwnd)
        DestroyWindow(gStatusBar.hwnd);
    CreateStatusBar(parent, instance);
    for (int part = 0; part < ShownParts; part++)
        SetStatusText(part, 0, shown[part]);
}

void ResizeStatusBar(WPARAM wParam, LPARAM lParam) {
    int edges[3];
    StatusBarEdges(LOWORD(lParam), edges);
    SendMessageA(gStatusBar.hwnd, SB_SETPARTS, 3, (LPARAM)edges);
    SendMessageA(gStatusBar.hwnd, WM_SIZE, wParam, lParam);
}

void SetStatusText(int part, int drawType, const char* text) {
    SendMessageA(gStatusBar.hwnd, SB_SETTEXTA, part | drawType, (LPARAM)text);
}

void ClearStatusTextIf(int part, const char* text) {
    char shown[StatusTextSize];
    if (ReadStatusText(part, shown) && strcmp(shown, text) == 0)
        SetStatusText(part, 0, "");
}

// --- the three refreshes -----------------------------------------------------

static void EnableCommand(HWND mainWindow, int command, bool enabled) {
    EnableMenuItem(GetMenu(mainWindow), command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void UpdateFileCommands(HWND mainWindow) {
    FileCommandStates s = FileCommands(gHistory.modified, ListRowCount());
    EnableCommand(mainWindow, IDM_FILE_SAVE, s.save);
    SetToolbarButtonState(ButtonSave, ButtonState(s.save));
    EnableCommand(mainWindow, IDM_TOOLS_HTML, s.htmlExport);
    SetToolbarButtonState(ButtonExport, ButtonState(s.htmlExport));
}

void UpdateMonitoringCommands(HWND mainWindow, bool on) {
    MonitoringCommandStates s = MonitoringCommands(on);
    EnableCommand(mainWindow, IDM_CAPTURE_START, s.start);
    EnableCommand(mainWindow, IDM_CAPTURE_STOP, s.stop);
    SetToolbarButtonState(ButtonCapture, s.captureButton);
}

void UpdateSelectionCommands(HWND mainWindow) {
    SelectionCommandStates s = SelectionCommands(ListRowCount(), FirstSelectedRow());
    EnableCommand(mainWindow, IDM_EDIT_SELECTALL, s.selectAll);
    static const int RecordCommands[] = { IDM_EDIT_BATCHCOMMENT, IDM_EDIT_COMMENT, IDM_EDIT_DELETE, IDM_EDIT_UP,
                                          IDM_EDIT_DOWN };
    for (int command : RecordCommands)
        EnableCommand(mainWindow, command, s.records);
    for (int button = ButtonBatchComment; button <= ButtonDown; button++)
        SetToolbarButtonState(button, ButtonState(s.records));
}
