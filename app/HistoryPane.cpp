// The history tab: the list host above and the split frame below, whose top
// border is dragged to share the height between the list and the preview.
#include "app/MainLayout.h"

#include "history/HistoryView.h"
#include "imagepreview/PreviewWindow.h"
#include "resources/resource.h"

static const char ListHostClass[] = "GYROLENS_CLASS_1";
static const char PreviewClass[] = "GYROLENS_CLASS_2";
static const char SplitFrameClass[] = "GYROLENS_CLASS_2BS";

static TEXTMETRICA gPaneMetrics;
static WNDPROC gListViewProc; // the view's procedure under the Tab-key subclass

static PaneRect WindowBox(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return { r.left, r.top, r.right - r.left, r.bottom - r.top };
}

static void Move(HWND hwnd, const PaneRect& r) {
    MoveWindow(hwnd, r.x, r.y, r.width, r.height, TRUE);
}

// --- sizes and borders -------------------------------------------------------

static bool PaneReady() {
    return gLayout.historyPane.container && gLayout.historyPane.tabControl;
}

static void ApplyTrackLimits(PaneWindow window, MINMAXINFO* info) {
    PaneRect box = WindowBox(gLayout.historyPane.container);
    TrackLimits t = PaneTrackLimits(CurrentPaneMetrics(), window, box.width, box.height);
    info->ptMinTrackSize = { t.minWidth, t.minHeight };
    info->ptMaxTrackSize = { t.maxWidth, t.maxHeight };
}

// Handles what the layout owns of the pane windows' messages; false when
// the message is left to the window itself.
static bool HandlePaneMessage(HWND hwnd, PaneWindow window, UINT msg, WPARAM wParam, LPARAM lParam,
                              LRESULT* result) {
    switch (msg) {
    case WM_NCHITTEST:
        if (window == PaneListHost)
            return false;
        *result = RemapSplitHit((int)DefWindowProcA(hwnd, msg, wParam, lParam));
        return true;
    case WM_GETMINMAXINFO:
        if (!PaneReady() || !lParam)
            return false;
        ApplyTrackLimits(window, (MINMAXINFO*)lParam);
        *result = 0;
        return true;
    }
    return false;
}

// The frame was sized: the preview fills its client area (and then places
// itself inside the frame's borders).
static void OnFrameMoved(HWND frame) {
    RECT client;
    GetClientRect(frame, &client);
    MoveWindow(gLayout.historyPane.preview, 0, 0, client.right, client.bottom, TRUE);
}

// The preview was moved or sized: it sits inside the frame, and the list
// host takes the height above the frame.
static void OnPreviewMoved(HWND preview) {
    const HistoryPane& p = gLayout.historyPane;
    PaneMetrics m = CurrentPaneMetrics();
    PaneRect frame = WindowBox(p.splitFrame);
    Move(preview, PreviewInFrame(m, frame.width, frame.height));
    PaneRect box = WindowBox(p.container);
    Move(p.listHost, ListHostAboveFrame(m, box.width, box.height, frame.height));
    UpdatePreviewScrollBars();
    InvalidateRect(preview, NULL, TRUE);
}

// The container takes the font at once: a font replaced for another DPI is
// deleted right after.
static void CreatePaneFontNow() {
    HistoryPane& p = gLayout.historyPane;
    p.paneFont = CreatePaneFont(FW_NORMAL, FALSE);
    p.fontCreated = p.paneFont != NULL;
    if (!p.paneFont)
        return;
    ReadFontMetrics(p.container, p.paneFont, &gPaneMetrics);
    SendMessageA(p.container, WM_SETFONT, (WPARAM)p.paneFont, TRUE);
}

void SplitHistoryPane() {
    HistoryPane& p = gLayout.historyPane;
    if (!p.container)
        return;
    if (!p.fontCreated)
        CreatePaneFontNow();
    PaneMetrics m = CurrentPaneMetrics();
    PaneRect box = WindowBox(p.container);
    if (!p.splitDone) {
        PaneRect host, frame;
        FirstSplit(m, box.width, box.height, &host, &frame);
        Move(p.listHost, host);
        Move(p.splitFrame, frame);
        p.splitDone = 1;
        return;
    }
    Move(p.splitFrame, LaterSplit(m, box.width, box.height, WindowBox(p.splitFrame).height));
}

// The preview keeps its share of the pane: the frame's height grows with
// the DPI as everything else does.
void ChangeHistoryPaneDpi(int oldDpi, int dpi) {
    HistoryPane& p = gLayout.historyPane;
    if (p.fontCreated) {
        HFONT old = p.paneFont;
        CreatePaneFontNow();
        if (old)
            DeleteObject(old);
    }
    if (p.splitDone && oldDpi > 0) {
        PaneRect frame = WindowBox(p.splitFrame);
        SetWindowPos(p.splitFrame, NULL, 0, 0, frame.width, MulDiv(frame.height, dpi, oldDpi),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ChangeViewDpi(dpi);
    ChangePreviewDpi(dpi);
}

// --- window procedures -------------------------------------------------------

static LRESULT CALLBACK ListHostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandlePaneMessage(hwnd, PaneListHost, msg, wParam, lParam, &result))
        return result;
    switch (msg) {
    case WM_NOTIFY:
        OnListNotify((int)wParam, (NMHDR*)lParam);
        return 0;
    case WM_SIZE:
        FitToPane();
        return 0;
    case WM_ACTIVATE:
        SetFocus(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

static LRESULT CALLBACK SplitFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandlePaneMessage(hwnd, PaneSplitFrame, msg, wParam, lParam, &result))
        return result;
    if (msg == WM_SIZE || msg == WM_MOVE) {
        OnFrameMoved(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

static LRESULT CALLBACK PreviewHostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandlePaneMessage(hwnd, PanePreview, msg, wParam, lParam, &result))
        return result;
    if (msg == WM_SIZE || msg == WM_MOVE) {
        if (gLayout.historyPane.splitFrame)
            OnPreviewMoved(hwnd);
        return 0;
    }
    return PreviewWindowProc(hwnd, msg, wParam, lParam);
}

// Tab in the list view moves the focus to the preview.
static LRESULT CALLBACK ListTabProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN && wParam == VK_TAB) {
        SetFocus(gLayout.historyPane.preview);
        return 0;
    }
    return CallWindowProcA(gListViewProc, hwnd, msg, wParam, lParam);
}

// --- creation ----------------------------------------------------------------

static void RegisterPaneClass(HINSTANCE instance, const char* name, WNDPROC proc) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_GYROLENS));
    wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_GYROLENS_SMALL));
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
}

void RegisterPaneClasses(HINSTANCE instance) {
    RegisterPaneClass(instance, ListHostClass, ListHostProc);
    RegisterPaneClass(instance, SplitFrameClass, SplitFrameProc);
    RegisterPaneClass(instance, PreviewClass, PreviewHostProc);
}

void CreateHistoryPane(HWND tabControl) {
    HistoryPane& p = gLayout.historyPane;
    p.tabControl = tabControl;
    p.instance = (HINSTANCE)GetWindowLongPtrA(tabControl, GWLP_HINSTANCE);
    p.container = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, tabControl,
                                  (HMENU)(INT_PTR)IDC_PANE_CONTAINER, p.instance, NULL);
    p.listHost = CreateWindowExA(0, ListHostClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, p.container,
                                 (HMENU)(INT_PTR)IDC_LIST_HOST, p.instance, NULL);
    p.splitFrame = CreateWindowExA(WS_EX_CLIENTEDGE, SplitFrameClass, "", WS_CHILD | WS_VISIBLE | WS_THICKFRAME, 0,
                                   0, 10, 10, p.container, (HMENU)(INT_PTR)IDC_SPLIT_FRAME, p.instance, NULL);
    p.preview = CreateWindowExA(WS_EX_CLIENTEDGE, PreviewClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                p.splitFrame, (HMENU)(INT_PTR)IDC_PREVIEW, p.instance, NULL);
    AttachPreview(p.preview, p.container, &p.paneFont);
    HWND list = CreateView(p.instance, p.listHost);
    gListViewProc = (WNDPROC)SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)ListTabProc);
    ShowWindow(list, SW_SHOW);
}
