#include "capture/Markings.h"

#include <string.h>

#include "base/WinHandles.h"
#include "capture/CaptureMath.h"
#include "resources/resource.h"

// Window lists can change while they are walked; never walk forever.
enum { MaxWindowsWalked = 10000 };

static bool RectHolds(const RECT& r, POINT p) {
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

// Top-level windows that take part in the frame search: visible, with a
// title, and not the desktop's program manager.
static bool IsFrameCandidate(HWND hwnd) {
    if (!IsWindowVisible(hwnd))
        return false;
    char title[256] = "";
    GetWindowTextA(hwnd, title, (int)sizeof(title));
    return title[0] != '\0' && strcmp(title, "Progman") != 0;
}

static bool IsVisibleWindow(HWND hwnd) {
    return IsWindowVisible(hwnd) != FALSE;
}

// Walks `first` and the windows after it in Z order; returns the first one
// that `accept` takes and whose rectangle holds `point` (edges included).
static HWND FirstWindowAt(HWND first, POINT point, bool (*accept)(HWND)) {
    int walked = 0;
    for (HWND w = first; w && walked < MaxWindowsWalked; w = GetWindow(w, GW_HWNDNEXT), walked++) {
        if (!accept(w))
            continue;
        RECT r;
        GetWindowRect(w, &r);
        if (RectHolds(r, point))
            return w;
    }
    return NULL;
}

static HWND TopLevelWindowAt(POINT point) {
    return FirstWindowAt(GetTopWindow(NULL), point, IsFrameCandidate);
}

HWND FindChildAtPoint(HWND parent, POINT point) {
    return FirstWindowAt(GetTopWindow(parent), point, IsVisibleWindow);
}

static HWND DeepestChildAtPoint(HWND top, POINT point) {
    HWND deepest = NULL;
    for (HWND c = FindChildAtPoint(top, point); c; c = FindChildAtPoint(c, point))
        deepest = c;
    return deepest;
}

bool FindFrameRect(POINT point, MarkingKind kind, RECT* frame) {
    int walked = 0;
    for (HWND top = GetTopWindow(NULL); top && walked < MaxWindowsWalked;
         top = GetWindow(top, GW_HWNDNEXT), walked++) {
        if (!IsFrameCandidate(top))
            continue;
        RECT topRect;
        GetWindowRect(top, &topRect);
        HWND deepest = DeepestChildAtPoint(top, point);
        if (deepest) {
            if (kind == MarkScreen) {
                *frame = topRect;
            } else {
                GetWindowRect(deepest, frame);
                OffsetRect(frame, -topRect.left, -topRect.top);
            }
            return true;
        }
        if (RectHolds(topRect, point)) {
            if (kind == MarkScreen)
                *frame = topRect;
            else
                SetRect(frame, 0, 0, topRect.right - topRect.left, topRect.bottom - topRect.top);
            return true;
        }
    }
    return false;
}

void DrawSelectionFrame(HDC target, POINT point, MarkingKind kind, int dpi) {
    if (kind == MarkWindow) {
        HWND under = TopLevelWindowAt(point);
        if (!under || under != GetForegroundWindow())
            return;
    }
    RECT f;
    if (!FindFrameRect(point, kind, &f))
        return;
    ScopedPen pen(CreatePen(PS_SOLID, ScaleToDpi(SelectionPenWidth, dpi), RGB(255, 0, 0)));
    ScopedSelect select(target, pen);
    MoveToEx(target, f.left, f.top, NULL);
    LineTo(target, f.right, f.top);
    LineTo(target, f.right, f.bottom);
    LineTo(target, f.left, f.bottom);
    LineTo(target, f.left, f.top);
}

bool WindowImagePoint(HWND captured, POINT screenPoint, POINT* imagePoint) {
    POINT p = screenPoint;
    ScreenToClient(captured, &p);
    RECT windowRect, clientRect;
    GetWindowRect(captured, &windowRect);
    GetClientRect(captured, &clientRect);
    int cyBorder = GetSystemMetrics(SM_CYBORDER), cyDlgFrame = GetSystemMetrics(SM_CYDLGFRAME);
    int cyCaption = GetSystemMetrics(SM_CYCAPTION);
    int heightWithoutMenu = 2 * (cyBorder + cyDlgFrame) + clientRect.bottom + cyCaption;
    int menu = MenuAllowance(windowRect.bottom - windowRect.top, heightWithoutMenu, GetSystemMetrics(SM_CYMENU));
    p.x += GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXDLGFRAME);
    p.y += cyCaption + cyBorder + cyDlgFrame + menu;
    *imagePoint = p;
    return RectHolds(clientRect, p);
}

const int CursorStripIds[CursorStripCount] = {
    IDB_CURSOR_PICTURES,    IDB_CURSOR_PICTURES_35, IDB_CURSOR_PICTURES_40,
    IDB_CURSOR_PICTURES_45, IDB_CURSOR_PICTURES_50, IDB_CURSOR_PICTURES_60,
};

void DrawCursorImage(HDC target, POINT point, MarkingKind kind, HWND captured, int choice, int dpi) {
    POINT at = point;
    if (kind == MarkWindow && !WindowImagePoint(captured, point, &at))
        return;
    // The strip drawn at the picture's size where there is one, so that its
    // lines stay whole; a larger one shrunk otherwise.
    int size = ScaleToDpi(CursorPictureSize, dpi), strip = CursorStripFor(size);
    ScopedBitmap bitmap(LoadBitmapA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(CursorStripIds[strip])));
    if (!bitmap.Get())
        return;
    BlendCursorPicture(target, at.x, at.y, size, bitmap, CursorStripCells[strip], choice);
}

// A memory DC with a bitmap of its own selected into it.
struct DrawingSurface {
    ScopedCreatedDC dc;
    ScopedBitmap bitmap;
    ScopedSelect select;
    DrawingSurface(HDC reference, HBITMAP bmp)
        : dc(CreateCompatibleDC(reference)), bitmap(bmp), select(dc, bmp) {}
};

void BlendCursorPicture(HDC target, int x, int y, int size, HBITMAP strip, int cell, int choice) {
    // A stored choice outside the strip would read beside it.
    if (choice < 0 || choice >= CursorPictureCount)
        choice = 0;
    ScopedCreatedDC source(CreateCompatibleDC(target));
    ScopedSelect sourceSelect(source, strip);

    DrawingSurface picture(target, CreateCompatibleBitmap(target, size, size));
    SetMapMode(picture.dc, GetMapMode(target));
    StretchBlt(picture.dc, 0, 0, size, size, source, choice * cell, 0, cell, cell, SRCCOPY);

    // Mask: set where the picture is white.  Inverted: set where it is not.
    DrawingSurface mask(target, CreateBitmap(size, size, 1, 1, NULL));
    SetBkColor(picture.dc, RGB(255, 255, 255));
    BitBlt(mask.dc, 0, 0, size, size, picture.dc, 0, 0, SRCCOPY);
    DrawingSurface inverse(target, CreateBitmap(size, size, 1, 1, NULL));
    BitBlt(inverse.dc, 0, 0, size, size, mask.dc, 0, 0, NOTSRCCOPY);

    // Monochrome sources become white (set) and black (clear) here.
    DrawingSurface work(target, CreateCompatibleBitmap(target, size, size));
    SetTextColor(work.dc, RGB(0, 0, 0));
    SetBkColor(work.dc, RGB(255, 255, 255));
    SetTextColor(picture.dc, RGB(0, 0, 0));
    BitBlt(work.dc, 0, 0, size, size, target, x, y, SRCCOPY);
    BitBlt(work.dc, 0, 0, size, size, mask.dc, 0, 0, SRCAND);
    BitBlt(picture.dc, 0, 0, size, size, inverse.dc, 0, 0, SRCAND);
    BitBlt(work.dc, 0, 0, size, size, picture.dc, 0, 0, SRCPAINT);
    BitBlt(target, x, y, size, size, work.dc, 0, 0, SRCCOPY);
}

// The cursor another application shows is only readable from a thread that
// shares its input state: attach briefly, read, detach.
static HCURSOR CurrentScreenCursor(POINT point) {
    HWND under = WindowFromPoint(point);
    DWORD theirs = under ? GetWindowThreadProcessId(under, NULL) : 0;
    DWORD ours = GetCurrentThreadId();
    bool attached = theirs != 0 && theirs != ours && AttachThreadInput(theirs, ours, TRUE);
    HCURSOR cursor = GetCursor();
    if (attached)
        AttachThreadInput(theirs, ours, FALSE);
    return cursor;
}

void DrawSystemCursor(HDC target, POINT point, MarkingKind kind, HWND captured) {
    HCURSOR cursor = CurrentScreenCursor(point);
    if (!cursor)
        return;
    ICONINFO info;
    if (!GetIconInfo(cursor, &info))
        return;
    // GetIconInfo hands out copies of the cursor's bitmaps.
    ScopedBitmap mask(info.hbmMask), color(info.hbmColor);
    POINT at = { point.x - (LONG)info.xHotspot, point.y - (LONG)info.yHotspot };
    if (kind == MarkWindow && !WindowImagePoint(captured, at, &at))
        return;
    DrawIcon(target, at.x, at.y, cursor);
}
