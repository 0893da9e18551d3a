#include "app/MainWindow.h"

#include <windowsx.h>

#include <vector>

#include <commctrl.h>

#include "app/AboutBox.h"
#include "app/CommandBars.h"
#include "app/Commands.h"
#include "app/Help.h"
#include "app/MainLayout.h"
#include "base/ByteString.h"
#include "base/Dpi.h"
#include "base/TextSizes.h"
#include "base/Texts.h"
#include "capture/CaptureContext.h"
#include "capture/Hotkeys.h"
#include "history/HistoryFile.h"
#include "history/HistoryView.h"
#include "imagepreview/PreviewWindow.h"
#include "resources/resource.h"
#include "settings/Settings.h"

ShellState gShell;

const char MainClassName[] = "GYROLENS_CLASS";

// The notice of a refused capture stays this long in the status bar.
enum { NoticeTimer = 1, NoticeMilliseconds = 3000 };

ATOM RegisterMainClass(HINSTANCE hInstance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_GYROLENS));
    wc.hIconSm = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_GYROLENS_SMALL));
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_MENU + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    wc.lpszClassName = MainClassName;
    return RegisterClassExA(&wc);
}

// --- placement ---------------------------------------------------------------

static BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM data) {
    std::vector<ScreenRect>* screens = (std::vector<ScreenRect>*)data;
    screens->push_back({ r->left, r->top, r->right, r->bottom });
    return TRUE;
}

// A stored rectangle that no screen shows any more (another monitor, or a
// minimised window's -32000 of an older version) comes back on the primary
// screen.
static ScreenRect StoredPlacement() {
    const Settings& s = gSettings;
    ScreenRect r = { s.windowX, s.windowY, s.windowX + s.windowWidth, s.windowY + s.windowHeight };
    std::vector<ScreenRect> screens;
    EnumDisplayMonitors(NULL, NULL, AddMonitor, (LPARAM)&screens);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    if (!screens.empty())
        BringOntoScreen(&r, screens.data(), (int)screens.size(), { work.left, work.top, work.right, work.bottom });
    return r;
}

bool CreateMainWindow(HINSTANCE hInstance, int showCommand) {
    gShell.hInstance = hInstance;
    ScreenRect r = StoredPlacement();
    HWND hwnd = CreateWindowExA(0, MainClassName, ProgramTitle, WS_OVERLAPPEDWINDOW, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, NULL, NULL, hInstance, NULL);
    if (!hwnd)
        return false;
    gShell.hwndMain = hwnd;
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
    return true;
}

// The rectangle to keep: a minimised or maximised window keeps the one it
// is restored to (in screen coordinates, not the work area's).
static RECT RestoredRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    if (!IsIconic(hwnd) && !IsZoomed(hwnd))
        return r;
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(hwnd, &wp))
        return r;
    r = wp.rcNormalPosition;
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY), &mi))
        OffsetRect(&r, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
    return r;
}

void SaveWindowPlacement(HWND hwnd) {
    RECT r = RestoredRect(hwnd);
    Settings& s = gSettings;
    s.windowX = r.left;
    s.windowY = r.top;
    s.windowWidth = r.right - r.left;
    s.windowHeight = r.bottom - r.top;
    static_assert((int)ColumnCount == (int)HistoryColumnCount, "a stored width for every column");
    StoredColumnWidths(s.columnWidths);
    SaveWindowSection(s);
    SaveSettings(s);
}

void UpdateTitle(HWND hwnd) {
    char title[PathSize] = "";
    if (gHistory.untitled)
        FormatText(title, countof(title), "%s - %s", gHistory.fileTitle, ProgramTitle);
    else
        FormatText(title, countof(title), "%s - %s - [%s]", gHistory.fileTitle, ProgramTitle, gHistory.filePath);
    SetWindowTextA(hwnd, title);
}

static bool HistoryTabShown() {
    return SendMessageA(gLayout.tabControl, TCM_GETCURSEL, 0, 0) == TabHistory;
}

void FocusVisiblePane() {
    if (HistoryTabShown()) {
        SetFocus(gHistoryView.list);
        return;
    }
    HWND panel = gLayout.settingsPane.keyPanel;
    HWND first = panel ? GetNextDlgTabItem(panel, NULL, FALSE) : NULL;
    SetFocus(first ? first : panel);
}

// A hidden control never keeps the keyboard: Enter or Delete would act on
// rows the user cannot see.
void ShowPaneForTab() {
    bool history = HistoryTabShown();
    if (!history)
        EnsureKeyPanel();
    ShowWindow(gLayout.historyPane.container, history ? SW_SHOW : SW_HIDE);
    ShowWindow(gLayout.settingsPane.container, history ? SW_HIDE : SW_SHOW);
    InvalidateRect(gLayout.tabControl, NULL, TRUE);
    FocusVisiblePane();
}

void SelectFirstTab() {
    SendMessageA(gLayout.tabControl, TCM_SETCURSEL, TabHistory, 0);
    ShowPaneForTab();
}

// --- message handlers --------------------------------------------------------

static void OnRefreshCommands(HWND hwnd) {
    UpdateFileCommands(hwnd);
    UpdateSelectionCommands(hwnd);
}

static BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    InitCommonControls();
    gShell.richEditModule = LoadLibraryA("RICHED32.DLL");
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_UPDOWN_CLASS | ICC_USEREX_CLASSES };
    InitCommonControlsEx(&icc);
    ResetCaptureContext(gCapture);
    gShell.hwndTab = CreateLayout(hwnd);
    CreateStatusBar(hwnd, gShell.hInstance);
    SetStatusText(0, 0, TextMonitoringOff);
    CreateToolbar(hwnd, gShell.hInstance, gLayout.dpi);
    if (gHistory.untitled)
        EnableMenuItem(GetMenu(hwnd), IDM_FILE_SAVE, MF_BYCOMMAND | MF_GRAYED);
    UpdateTitle(hwnd);
    UpdateMonitoringCommands(hwnd, false);
    UpdateFileCommands(hwnd);
    UpdateSelectionCommands(hwnd);
    return TRUE;
}

static void OnSize(HWND, UINT state, int width, int height) {
    WPARAM wParam = state;
    LPARAM lParam = MAKELPARAM(width, height);
    ResizeStatusBar(wParam, lParam);
    ResizeToolbar(wParam, lParam);
    LayoutPanes(wParam, lParam);
}

// The height left for the panes at the smallest size, at 96 DPI.
enum { SmallestPaneRoom = 150 };

static void OnGetMinMaxInfo(HWND, LPMINMAXINFO info) {
    if (!info)
        return;
    int dpi = gLayout.dpi;
    TrackLimits t = MainTrackLimits(MetricForDpi(SM_CXFRAME, dpi), MetricForDpi(SM_CYFRAME, dpi),
                                    MetricForDpi(SM_CYMENU, dpi), MetricForDpi(SM_CYCAPTION, dpi),
                                    GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN),
                                    ScaleForDpi(SmallestPaneRoom, dpi));
    info->ptMinTrackSize = { t.minWidth, t.minHeight };
    info->ptMaxTrackSize = { t.maxWidth, t.maxHeight };
}

// Lays the window out for its present client size.
static void RelayOut(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    UINT state = IsIconic(hwnd) ? SIZE_MINIMIZED : IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED;
    OnSize(hwnd, state, client.right, client.bottom);
}

static void ReplaceLinkFont(int dpi) {
    HFONT old = gShell.linkFont;
    gShell.linkFont = CreateLinkFont(dpi);
    if (old)
        DeleteObject(old);
}

// Dragged to a monitor of another DPI, or the scaling was changed: the
// window takes the rectangle Windows suggests, and what it sizes itself
// (fonts, pictures, bars, columns, the split) is made again for the new
// DPI.  Dialogs from templates the system scales by itself.
static void OnDpiChanged(HWND hwnd, int dpi, const RECT* suggested) {
    if (dpi <= 0)
        return;
    ChangeLayoutDpi(dpi);
    RecreateToolbar(hwnd, gShell.hInstance, dpi);
    RecreateStatusBar(hwnd, gShell.hInstance);
    UpdateMonitoringCommands(hwnd, IsCaptureMonitoring() != 0);
    OnRefreshCommands(hwnd);
    ReplaceLinkFont(dpi);
    if (suggested)
        SetWindowPos(hwnd, NULL, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    RelayOut(hwnd);
    HWND focus = GetFocus();
    if (GetActiveWindow() == hwnd && (!focus || focus == hwnd))
        FocusVisiblePane();
}

int ModalWindowOpen() {
    return gShell.hwndMain && !IsWindowEnabled(gShell.hwndMain);
}

// Leaving the window remembers the control that had the keyboard; coming
// back gives it back while it can still be seen, else the keyboard goes to
// the visible pane.  Nothing is taken while a box or dialog it owns opens.
static void OnActivate(HWND hwnd, UINT state, HWND, BOOL) {
    HWND focus = GetFocus();
    if (state == WA_INACTIVE) {
        if (focus && IsChild(hwnd, focus))
            gShell.lastFocus = focus;
        return;
    }
    HWND last = gShell.lastFocus;
    if (last && IsWindow(last) && IsChild(hwnd, last) && IsWindowVisible(last) && IsWindowEnabled(last))
        SetFocus(last);
    else
        FocusVisiblePane();
}

static LRESULT OnNotify(HWND, int, LPNMHDR header) {
    if (header->code == TTN_GETDISPINFOA) {
        NMTTDISPINFOA* info = (NMTTDISPINFOA*)header;
        info->hinst = gShell.hInstance;
        GetToolbarTipText(header->idFrom, info);
    } else if (header->code == TCN_SELCHANGE) {
        ShowPaneForTab();
    }
    return 0;
}

static void OnClose(HWND hwnd) {
    SaveWindowPlacement(hwnd);
    if (!ConfirmDiscard())
        return;
    StopMonitoring(hwnd);
    if (gShell.linkFont)
        DeleteObject(gShell.linkFont);
    if (gShell.linkCursor)
        DestroyCursor(gShell.linkCursor);
    gShell.linkFont = NULL;
    gShell.linkCursor = NULL;
    DestroyWindow(hwnd);
}

static void OnDestroy(HWND) {
    UninitializeHelp();
    if (gShell.richEditModule)
        FreeLibrary(gShell.richEditModule);
    gShell.richEditModule = NULL;
    PostQuitMessage(0);
}

// A capture under an open question or dialog would change the rows it is
// about (the selection moves to the new row): the press is refused with a
// beep and a notice in the status bar, and nothing is written.
static void RefuseCaptureWhileModal(HWND hwnd) {
    MessageBeep(MB_OK);
    SetStatusText(1, 0, TextCaptureWaitsForDialog);
    SetTimer(hwnd, NoticeTimer, NoticeMilliseconds, NULL);
}

static void OnTimer(HWND hwnd, UINT id) {
    if (id != NoticeTimer)
        return;
    KillTimer(hwnd, id);
    ClearStatusTextIf(1, TextCaptureWaitsForDialog);
}

// The cracker would answer 0 always; a capture that was refused or failed
// goes on to DefWindowProcA.
static LRESULT OnHotkey(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (ModalWindowOpen()) {
        RefuseCaptureWhileModal(hwnd);
        return 0;
    }
    if (HandleCaptureHotkey(hwnd, gLayout.historyPane.listHost, (int)wParam) == HotkeyNotCaptured)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    return 0;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_SIZE, OnSize);
        HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(hwnd, WM_NOTIFY, OnNotify);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
        HANDLE_MSG(hwnd, WM_TIMER, OnTimer);
    case WM_GETMINMAXINFO:
        if (!hwnd)
            break;
        OnGetMinMaxInfo(hwnd, (LPMINMAXINFO)lParam);
        return 0;
    case WM_HOTKEY:
        return OnHotkey(hwnd, msg, wParam, lParam);
    case WM_DPICHANGED:
        OnDpiChanged(hwnd, HIWORD(wParam), (const RECT*)lParam);
        return 0;
    case WM_REFRESH_COMMANDS:
        OnRefreshCommands(hwnd);
        return 0;
    case WM_REFRESH_PREVIEW:
        ReloadPreview();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
