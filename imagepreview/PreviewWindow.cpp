// The preview window: painting the held picture, its scroll bars, and
// scrolling by bar, arrow keys and wheel.
#include "imagepreview/PreviewWindow.h"

#include <windowsx.h>

#include "base/Dpi.h"
#include "base/WinHandles.h"
#include "history/HistoryView.h"
#include "imagepreview/PreviewScroll.h"

PreviewWindow gPreview;

static_assert(SB_HORZ == 0 && SB_VERT == 1, "wheelPending is indexed by bar");
static_assert(ScrollLineBack == SB_LINEUP && ScrollPageForward == SB_PAGEDOWN && ScrollThumbTrack == SB_THUMBTRACK &&
                  ScrollToStart == SB_TOP && ScrollToEnd == SB_BOTTOM,
              "scroll requests carry the platform's codes");

// The picture's top-left corner when nothing is scrolled, at 96 DPI.
enum { PreviewMargin = 10 };

void AttachPreview(HWND window, HWND messageOwner, HFONT* paneFont) {
    gPreview.window = window;
    gPreview.messageOwner = messageOwner;
    gPreview.paneFont = paneFont;
    gPreview.dpi = WindowDpi(window);
}

void ChangePreviewDpi(int dpi) {
    gPreview.dpi = dpi;
    UpdatePreviewScrollBars();
    if (gPreview.window)
        InvalidateRect(gPreview.window, NULL, TRUE);
}

static int Margin() {
    return ScaleForDpi(PreviewMargin, gPreview.dpi);
}

// --- scroll bars -------------------------------------------------------------

static void SetBar(int bar, const ScrollRange& range) {
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = range.maximum;
    si.nPage = (UINT)range.page;
    SetScrollInfo(gPreview.window, bar, &si, TRUE);
}

void UpdatePreviewScrollBars() {
    if (!gPreview.window || gPreview.image.Empty())
        return;
    RECT r;
    GetWindowRect(gPreview.window, &r);
    PreviewScrollRanges ranges =
        ComputePreviewScrollRanges(r.right - r.left, r.bottom - r.top, gPreview.image.Width(),
                                   gPreview.image.Height(), MetricForDpi(SM_CYHSCROLL, gPreview.dpi), Margin());
    SetBar(SB_VERT, ranges.vertical);
    SetBar(SB_HORZ, ranges.horizontal);
}

static bool ReadScrollPositions(HWND hwnd, POINT* position) {
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    if (!GetScrollInfo(hwnd, SB_HORZ, &si))
        return false;
    position->x = si.nPos;
    if (!GetScrollInfo(hwnd, SB_VERT, &si))
        return false;
    position->y = si.nPos;
    return true;
}

static ScrollState ReadScrollState(HWND hwnd, int bar) {
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd, bar, &si);
    return { si.nPos, (int)si.nPage, si.nMax };
}

// Every scroll, even one that changes nothing, sets the position and
// repaints the whole window.
static void ScrollTo(HWND hwnd, int bar, int position) {
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    si.nPos = position;
    SetScrollInfo(hwnd, bar, &si, TRUE);
    InvalidateRect(hwnd, NULL, TRUE);
}

// --- painting ----------------------------------------------------------------

void PaintContent(HWND hwnd, HDC dc, const RECT& client) {
    POINT scrolled = { 0, 0 };
    ReadScrollPositions(hwnd, &scrolled);
    ScopedSelect font;
    if (gPreview.paneFont && *gPreview.paneFont)
        font.Select(dc, *gPreview.paneFont);
    SetBkMode(dc, TRANSPARENT);
    const PreviewImage& image = gPreview.image;
    if (image.Empty()) {
        BitBlt(dc, client.left, client.top, client.right - client.left, client.bottom - client.top, NULL, 0, 0,
               WHITENESS);
        return;
    }
    int width = image.Width(), height = image.Height();
    SetDIBitsToDevice(dc, Margin() - scrolled.x, Margin() - scrolled.y, (DWORD)width, (DWORD)height, 0,
                      0, 0, (UINT)height, image.Rows(), (const BITMAPINFO*)image.Block(), DIB_RGB_COLORS);
}

// Until the first picture has given the window its scroll bars, painting
// is left to the default procedure (the white class background).
static LRESULT PaintPreview(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    POINT scrolled;
    if (!ReadScrollPositions(hwnd, &scrolled))
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    PaintContent(hwnd, dc, client);
    EndPaint(hwnd, &ps);
    return 0;
}

static void OnPrintClient(HWND hwnd, HDC dc) {
    RECT client;
    GetClientRect(hwnd, &client);
    PaintContent(hwnd, dc, client);
}

// --- scrolling ---------------------------------------------------------------

// The thumb position is the message's unsigned 16 bits (the cracker would
// make positions past 32767 negative).
static void OnScroll(HWND hwnd, int bar, WPARAM wParam) {
    int request = LOWORD(wParam), thumb = HIWORD(wParam);
    ScrollTo(hwnd, bar, PositionForRequest(ReadScrollState(hwnd, bar), request, thumb));
}

static void ScrollLines(HWND hwnd, int bar, int lines) {
    ScrollTo(hwnd, bar, PositionForLines(ReadScrollState(hwnd, bar), lines));
}

static void OnKey(HWND hwnd, UINT key, BOOL down, int, UINT) {
    if (!down)
        return;
    switch (key) {
    case VK_LEFT:  ScrollLines(hwnd, SB_HORZ, -1); break;
    case VK_RIGHT: ScrollLines(hwnd, SB_HORZ, 1); break;
    case VK_UP:    ScrollLines(hwnd, SB_VERT, -1); break;
    case VK_DOWN:  ScrollLines(hwnd, SB_VERT, 1); break;
    case VK_TAB:   SetFocus(gHistoryView.list); break;
    default:       InvalidateRect(hwnd, NULL, TRUE); break;
    }
}

// With Shift held the wheel moves the picture sideways.  Parts of a notch
// wait until they add up to one.
static void OnMouseWheel(HWND hwnd, int, int, int delta, UINT keys) {
    int bar = (keys & MK_SHIFT) ? SB_HORZ : SB_VERT;
    int whole = TakeWholeNotches(&gPreview.wheelPending[bar], delta);
    if (whole != 0)
        ScrollTo(hwnd, bar, PositionForWheel(ReadScrollState(hwnd, bar), whole));
}

// --- focus -------------------------------------------------------------------

static void OnActivate(HWND hwnd, UINT, HWND, BOOL) {
    SetFocus(hwnd);
}

static void OnLButtonDown(HWND hwnd, BOOL, int, int, UINT) {
    SetFocus(hwnd);
}

LRESULT PreviewWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_KEYDOWN, OnKey);
        HANDLE_MSG(hwnd, WM_MOUSEWHEEL, OnMouseWheel);
        HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(hwnd, WM_LBUTTONDOWN, OnLButtonDown);
    case WM_PAINT:
        return PaintPreview(hwnd, msg, wParam, lParam);
    case WM_PRINTCLIENT:
        OnPrintClient(hwnd, (HDC)wParam);
        return 0;
    case WM_HSCROLL:
        OnScroll(hwnd, SB_HORZ, wParam);
        return 0;
    case WM_VSCROLL:
        OnScroll(hwnd, SB_VERT, wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
