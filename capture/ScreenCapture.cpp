#include "capture/ScreenCapture.h"

#include <string.h>

#include "base/ByteString.h"
#include "base/MessageBox.h"
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

static void DrawMarking(HDC target, POINT cursor, int mode, MarkingKind kind, HWND captured) {
    switch (mode) {
    case ActiveWindowFrame:
    case WholeScreenFrame:
        DrawSelectionFrame(target, cursor, kind);
        break;
    case ActiveWindowCursor:
    case WholeScreenCursor:
        DrawCursorImage(target, cursor, kind, captured, gSettings.hotkeys[mode - FirstCaptureMode].choice);
        break;
    case ActiveWindowGlobalCursor:
    case WholeScreenGlobalCursor:
        DrawSystemCursor(target, cursor, kind, captured);
        break;
    }
}

static void GrabScreen(CaptureContext& ctx, int mode, int screenWidth, int screenHeight) {
    CopyText(ctx.windowTitle, countof(ctx.windowTitle), "SCREEN");
    {
        GrabSurface surface;
        surface.NewImage(ctx, screenWidth, screenHeight);
        if (ctx.bitmap) {
            BitBlt(surface.memory, 0, 0, screenWidth, screenHeight, surface.display, 0, 0, SRCCOPY);
            POINT cursor;
            if (GetCursorPos(&cursor))
                DrawMarking(surface.memory, cursor, mode, MarkScreen, NULL);
        }
    }
    SetRect(&ctx.captureRect, 0, 0, screenWidth, screenHeight);
    ctx.captureKind = CaptureKindScreen;
}

// Copies the part of the window that is on the screen to its place in the
// image.  Asking the display for pixels beyond its edges fails the whole copy
// on some displays; those parts are painted black below in any case.
static void CopyOnScreenPart(GrabSurface& surface, const RECT& r, int screenWidth, int screenHeight) {
    int left = r.left > 0 ? r.left : 0, top = r.top > 0 ? r.top : 0;
    int right = r.right < screenWidth ? r.right : screenWidth;
    int bottom = r.bottom < screenHeight ? r.bottom : screenHeight;
    if (right > left && bottom > top)
        BitBlt(surface.memory, left - r.left, top - r.top, right - left, bottom - top, surface.display, left, top,
               SRCCOPY);
}

// Paints black whatever part of the window lies beyond a screen edge.
static void BlackenOffscreen(HDC memory, const RECT& r, int screenWidth, int screenHeight) {
    int width = r.right - r.left, height = r.bottom - r.top;
    if (r.left < 0)
        BitBlt(memory, 0, 0, -r.left, height, NULL, 0, 0, BLACKNESS);
    if (r.right > screenWidth)
        BitBlt(memory, screenWidth - r.left, 0, r.right - screenWidth, height, NULL, 0, 0, BLACKNESS);
    if (r.top < 0)
        BitBlt(memory, 0, 0, width, -r.top, NULL, 0, 0, BLACKNESS);
    if (r.bottom > screenHeight)
        BitBlt(memory, 0, screenHeight - r.top, width, r.bottom - screenHeight, NULL, 0, 0, BLACKNESS);
}

// False when the setting for off-screen parts is neither cut nor keep.
static bool GrabWindow(CaptureContext& ctx, HWND owner, int mode, int screenWidth, int screenHeight) {
    HWND window = GetForegroundWindow();
    SetRectEmpty(&ctx.captureRect);
    if (window)
        GetWindowRect(window, &ctx.captureRect);
    const RECT& r = ctx.captureRect;
    int keep = gSettings.keepOffscreen;
    CaptureRect rect = { r.left, r.top, r.right, r.bottom };
    int width, height;
    CaptureImageSize(CaptureKindWindow, rect, keep, screenWidth, screenHeight, &width, &height);
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
        if (keep == 0) {
            BitBlt(surface.memory, 0, 0, width, height, surface.display, r.left > 0 ? r.left : 0,
                   r.top > 0 ? r.top : 0, SRCCOPY);
        } else {
            CopyOnScreenPart(surface, r, screenWidth, screenHeight);
            BlackenOffscreen(surface.memory, r, screenWidth, screenHeight);
        }
        // A cursor on the top row or left column of the screen gets no marking.
        POINT cursor;
        if (GetCursorPos(&cursor) && cursor.x > 0 && cursor.y > 0)
            DrawMarking(surface.memory, cursor, mode, MarkWindow, window);
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
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (IsWindowMode(mode)) {
        if (!GrabWindow(ctx, owner, mode, screenWidth, screenHeight))
            return 0;
    } else {
        GrabScreen(ctx, mode, screenWidth, screenHeight);
    }
    const char* path = NextImageFilePath(ctx);
    int written = WriteImageFile(ctx, owner, path);
    AdvanceImageNumber(ctx);
    if (written == 0 && gSettings.copyToClipboard == 1)
        CopyCaptureToClipboard(ctx, owner);
    return written == -1 ? -1 : ctx.captureKind;
}
