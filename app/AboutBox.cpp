#include "app/AboutBox.h"

#include <windowsx.h>

#include "app/MainWindow.h"
#include "base/ByteString.h"
#include "base/Dpi.h"
#include "base/ModalOwner.h"
#include "base/ShellRun.h"
#include "base/TextSizes.h"
#include "resources/resource.h"

enum { LinkTextSize = 256, WinHelpLinkCursor = 106, LinkFontHeight = 17 };

HCURSOR LoadLinkCursor() {
    char path[PathSize + 16] = "";
    UINT n = GetWindowsDirectoryA(path, PathSize);
    if (n == 0 || n >= PathSize)
        return LoadCursorA(NULL, IDC_ARROW);
    AppendText(path, countof(path), "\\winhlp32.exe");
    HMODULE module = LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return LoadCursorA(NULL, IDC_ARROW);
    HCURSOR cursor = LoadCursorA(module, MAKEINTRESOURCEA(WinHelpLinkCursor));
    HCURSOR copy = cursor ? (HCURSOR)CopyIcon(cursor) : NULL;
    FreeLibrary(module);
    return copy ? copy : LoadCursorA(NULL, IDC_ARROW);
}

HFONT CreateLinkFont(int dpi) {
    return CreateFontA(ScaleForDpi(LinkFontHeight, dpi), 0, 0, 0, FW_BOLD, FALSE, TRUE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Times New Roman");
}

void ShowAboutBox(HWND owner) {
    DialogBoxParamA(gShell.hInstance, MAKEINTRESOURCEA(IDD_ABOUT), ModalOwner(owner), AboutDlgProc, 0);
}

// The link also gets its font as its own: a label may pick its font after
// the colour message, which would undo the selection made there.
static void OnInitDialog(HWND dialog) {
    if (gShell.linkFont)
        SendDlgItemMessageA(dialog, IDC_ABOUT_LINK, WM_SETFONT, (WPARAM)gShell.linkFont, FALSE);
}

static BOOL OnSetCursor(HWND dialog, HWND over) {
    if (GetDlgCtrlID(over) != IDC_ABOUT_LINK)
        return FALSE;
    SetCursor(gShell.linkCursor ? gShell.linkCursor : LoadCursorA(NULL, IDC_ARROW));
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

// The link in its own font and colour; every other label on the button face.
static INT_PTR OnCtlColorStatic(HDC dc, HWND control) {
    if (GetDlgCtrlID(control) != IDC_ABOUT_LINK)
        return (INT_PTR)(COLOR_BTNFACE + 1);
    if (gShell.linkFont)
        SelectObject(dc, gShell.linkFont);
    SetTextColor(dc, RGB(100, 100, 250));
    SetBkMode(dc, TRANSPARENT);
    return (INT_PTR)GetStockObject(NULL_BRUSH);
}

static void OpenLink(HWND dialog) {
    char address[LinkTextSize] = "";
    GetDlgItemTextA(dialog, IDC_ABOUT_LINK, address, (int)countof(address));
    RunShellExecute(dialog, "open", address, NULL, NULL, SW_SHOWNORMAL);
    InvalidateRect(GetDlgItem(dialog, IDC_ABOUT_LINK), NULL, TRUE);
}

// A double click on the link reports STN_CLICKED and then STN_DBLCLK: the
// link opens on the first only, once per click.
static BOOL OnCommand(HWND dialog, int id, UINT code) {
    switch (id) {
    case IDC_ABOUT_LINK:
        if (code == STN_CLICKED)
            OpenLink(dialog);
        return TRUE;
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, id);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_SETCURSOR:
        return OnSetCursor(dialog, (HWND)wParam);
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic((HDC)wParam, (HWND)lParam);
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    }
    return FALSE;
}
