#include "capture/ScreenCapture.h"

#include <dwmapi.h>
#include <string.h>

#include "base/ByteString.h"
#include "base/Dpi.h"
#include "base/MessageBox.h"
#include "base/SystemFunction.h"
#include "base/Texts.h"
#include "base/WinHandles.h"
#include "capture/Clipboard.h"
#include "capture/ImageFiles.h"
#include "capture/Markings.h"
#include "history/HistoryFile.h"
#include "settings/Settings.h"

// The grab's display and memory contexts; the new bitmap is selected into
// the memory context until the grab is done.
struct GrabSurface {
    ScopedCreatedDC display;
    ScopedCreatedDC memory;
    ScopedSelect image; // put back before the memory context goes

    GrabSurface() : display(CreateDCA("DISPLAY", NULL, NULL, NULL)), memory(CreateCompatibleDC(display)) {}
    // A bitmap of the given size becomes the context's new image.
    void NewImage(CaptureContext& ctx, int width, int height) {
        // A window wholly off the screen in cut mode has no pixels to grab;
        // leaving no bitmap makes the writer report that nothing was captured.
        HBITMAP bitmap = width > 0 && height > 0 ? CreateImageBitmap(display, width, height) : NULL;
        ReplaceCaptureBitmap(ctx, bitmap);
        if (bitmap)
            image.Select(memory, bitmap);
    }
};

// --- what the system reports, where this Windows has it ----------------

// Windows 10 and 11 draw invisible resize borders round a window, inside its
// window rectangle; the desktop window manager knows the visible bounds.
static bool DwmFrameBounds(HWND window, RECT* bounds) {
    typedef HRESULT(WINAPI * GetAttributeFn)(HWND, DWORD, void*, DWORD);
    static GetAttributeFn getAttribute =
        (GetAttributeFn)(void*)SystemFunction("dwmapi.dll", "DwmGetWindowAttribute");
    RECT r;
    if (!getAttribute || FAILED(getAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &r, sizeof(r))) ||
        IsRectEmpty(&r))
        return false;
    *bounds = r;
    return true;
}

static FrameBoundsHook gFrameBounds = DwmFrameBounds;

void SetFrameBoundsHook(FrameBoundsHook hook) {
    gFrameBounds = hook ? hook : DwmFrameBounds;
}

static ScreenArea SystemVirtualScreen() {
    return { GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
             GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN) };
}

static VirtualScreenHook gVirtualScreen = SystemVirtualScreen;

void SetVirtualScreenHook(VirtualScreenHook hook) {
    gVirtualScreen = hook ? hook : SystemVirtualScreen;
}

ScreenArea CaptureScreenArea(int kind) {
    if (kind == CaptureKindWindow)
        return gVirtualScreen();
    return { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
}

static CaptureRect ToCaptureRect(const RECT& r) {
    return { r.left, r.top, r.right, r.bottom };
}

void CapturedImageSize(const CaptureContext& ctx, int* width, int* height) {
    CaptureImageSize(ctx.captureKind, ToCaptureRect(ctx.captureRect), gSettings.keepOffscreen,
                     CaptureScreenArea(ctx.captureKind), width, height);
}

// The DPI of the monitor that shows `window`, or of the primary monitor:
// the markings are drawn as large as the real cursor is there.  (The DPI
// Windows reports for another program's window is the one that program
// asked for, which says nothing about the monitor.)
static int MonitorDpi(HWND window) {
    typedef HRESULT(WINAPI * GetDpiForMonitorFn)(HMONITOR, int, UINT*, UINT*);
    static GetDpiForMonitorFn getDpi = (GetDpiForMonitorFn)(void*)SystemFunction("shcore.dll", "GetDpiForMonitor");
    const POINT primary = { 0, 0 };
    HMONITOR monitor = window ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                              : MonitorFromPoint(primary, MONITOR_DEFAULTTOPRIMARY);
    UINT x = 0, y = 0;
    if (getDpi && monitor && SUCCEEDED(getDpi(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && y > 0)
        return (int)y;
    return ScreenDpi();
}

// --- the grab ----------------------------------------------------------------

static void DrawMarking(HDC target, POINT cursor, int mode, MarkingKind kind, HWND captured) {
    switch (mode) {
    case ActiveWindowFrame:
    case WholeScreenFrame:
        DrawSelectionFrame(target, cursor, kind, MonitorDpi(captured));
        break;
    case ActiveWindowCursor:
    case WholeScreenCursor:
        DrawCursorImage(target, cursor, kind, captured, gSettings.hotkeys[mode - FirstCaptureMode].choice,
                        MonitorDpi(captured));
        break;
    case ActiveWindowGlobalCursor:
    case WholeScreenGlobalCursor:
        DrawSystemCursor(target, cursor, kind, captured);
        break;
    }
}

static void GrabScreen(CaptureContext& ctx, int mode) {
    ScreenArea screen = CaptureScreenArea(CaptureKindScreen);
    CopyText(ctx.windowTitle, countof(ctx.windowTitle), "SCREEN");
    {
        GrabSurface surface;
        surface.NewImage(ctx, screen.width, screen.height);
        if (ctx.bitmap) {
            BitBlt(surface.memory, 0, 0, screen.width, screen.height, surface.display, 0, 0, SRCCOPY);
            POINT cursor;
            if (GetCursorPos(&cursor))
                DrawMarking(surface.memory, cursor, mode, MarkScreen, NULL);
        }
    }
    SetRect(&ctx.captureRect, 0, 0, screen.width, screen.height);
    ctx.captureKind = CaptureKindScreen;
}

// What a window grab copies, handed to each monitor in turn.
struct WindowPixels {
    HDC memory, display;
    CaptureRect rect;
    ScreenArea screen;
    int keep;
};

static BOOL CALLBACK CopyFromMonitor(HMONITOR, HDC, LPRECT area, LPARAM param) {
    const WindowPixels& w = *(const WindowPixels*)param;
    ScreenArea monitor = { area->left, area->top, area->right - area->left, area->bottom - area->top };
    ScreenCopy copy;
    if (WindowScreenCopy(w.rect, w.screen, monitor, w.keep, &copy))
        BitBlt(w.memory, copy.imageX, copy.imageY, copy.width, copy.height, w.display, copy.sourceX, copy.sourceY,
               SRCCOPY);
    return TRUE;
}

// Copies the parts of the window that monitors show to their places in the
// image.  Asking the display for pixels beyond its edges fails the whole copy
// on some displays; a window kept on black has those parts painted black.
static void CopyWindowPixels(HDC memory, HDC display, const CaptureRect& rect, const ScreenArea& screen, int keep) {
    WindowPixels w = { memory, display, rect, screen, keep };
    EnumDisplayMonitors(NULL, NULL, CopyFromMonitor, (LPARAM)&w);
    if (keep != 1)
        return;
    CaptureRect bands[4];
    int n = OffscreenBands(rect, screen, bands);
    for (int i = 0; i < n; i++)
        BitBlt(memory, bands[i].left, bands[i].top, bands[i].right - bands[i].left, bands[i].bottom - bands[i].top,
               NULL, 0, 0, BLACKNESS);
}

// The rectangle a window capture shows: the window's visible bounds where
// the desktop window manager gives them, its window rectangle otherwise.
// `windowRect` receives the window rectangle, which the markings' window
// coordinates are relative to.
static void WindowCaptureRect(HWND window, RECT* captureRect, RECT* windowRect) {
    SetRectEmpty(windowRect);
    if (window)
        GetWindowRect(window, windowRect);
    RECT bounds;
    *captureRect = window && gFrameBounds(window, &bounds) ? bounds : *windowRect;
}

// False when the setting for off-screen parts is neither cut nor keep.
static bool GrabWindow(CaptureContext& ctx, HWND owner, int mode) {
    HWND window = GetForegroundWindow();
    RECT windowRect;
    WindowCaptureRect(window, &ctx.captureRect, &windowRect);
    CaptureRect rect = ToCaptureRect(ctx.captureRect);
    ScreenArea screen = CaptureScreenArea(CaptureKindWindow);
    int keep = gSettings.keepOffscreen;
    int width, height;
    CaptureImageSize(CaptureKindWindow, rect, keep, screen, &width, &height);
    ctx.windowTitle[0] = '\0';
    if (window)
        GetWindowTextA(window, ctx.windowTitle, (int)countof(ctx.windowTitle));

    GrabSurface surface;
    SetMapMode(surface.memory, GetMapMode(surface.display));
    surface.NewImage(ctx, width, height);
    if (keep != 0 && keep != 1) {
        AppMessageBox(owner, "アクティブウィンドウキャプチャーでスクリーン外の扱いの値が不正です。", CaptionDefinitionError,
                      MB_OK | MB_ICONWARNING);
        return false;
    }
    if (ctx.bitmap) {
        CopyWindowPixels(surface.memory, surface.display, rect, screen, keep);
        POINT cursor;
        if (GetCursorPos(&cursor) && CursorMarksWindow(screen, cursor.x, cursor.y)) {
            // The markings are placed relative to the window rectangle; the
            // image may start further in, at the visible bounds.
            SetViewportOrgEx(surface.memory, windowRect.left - ctx.captureRect.left,
                             windowRect.top - ctx.captureRect.top, NULL);
            DrawMarking(surface.memory, cursor, mode, MarkWindow, window);
        }
    }
    ctx.captureKind = CaptureKindWindow;
    return true;
}

int CaptureImage(CaptureContext& ctx, HWND owner, int mode) {
    if (ImagesInHistoryFolder(gSettings) && gHistory.untitled) {
        AppMessageBox(owner, TextImagesNeedHistoryFile, gHistory.historyFolder, MB_OK | MB_ICONWARNING);
        return 0;
    }
    if (!CheckImageNumberLeft(owner))
        return 0;
    if (IsWindowMode(mode)) {
        if (!GrabWindow(ctx, owner, mode))
            return 0;
    } else {
        GrabScreen(ctx, mode);
    }
    const char* path = NextImageFilePath(ctx);
    int written = WriteImageFile(ctx, owner, path);
    AdvanceImageNumber(ctx);
    if (written == 0 && gSettings.copyToClipboard == 1)
        CopyCaptureToClipboard(ctx, owner);
    return written == -1 ? -1 : ctx.captureKind;
}
