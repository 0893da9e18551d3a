#include "capture/CaptureContext.h"

#include <string.h>

#include "base/ByteString.h"
#include "capture/TitleComment.h"
#include "settings/Settings.h"

CaptureContext gCapture;

void InitCaptureContext(CaptureContext& ctx) {
    memset(&ctx, 0, sizeof(ctx));
    ctx.nextNumber = 1;
    CopyText(ctx.filePrefix, countof(ctx.filePrefix), "a");
}

void ResetCaptureContext(CaptureContext& ctx) {
    ReplaceCaptureBitmap(ctx, NULL);
    InitCaptureContext(ctx);
}

HBITMAP CreateImageBitmap(HDC display, int width, int height) {
    BITMAPINFO info;
    memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    return CreateDIBSection(display, &info, DIB_RGB_COLORS, &bits, NULL, 0);
}

void ReplaceCaptureBitmap(CaptureContext& ctx, HBITMAP bitmap) {
    if (ctx.bitmap)
        DeleteObject(ctx.bitmap);
    ctx.bitmap = bitmap;
}

void CopyFileSettingsToCapture(CaptureContext& ctx, const Settings& s, const char* historyFolder) {
    ctx.confirmOverwrite = s.confirmOverwrite;
    ctx.jpegQuality = s.jpegQuality;
    ctx.nextNumber = s.nextImageNumber;
    ctx.imageFormat = ImageFormatOf(s.jpegMode);
    CopyText(ctx.filePrefix, countof(ctx.filePrefix), s.imagePrefix);
    CopyText(ctx.saveFolder, countof(ctx.saveFolder), ImagesInHistoryFolder(s) ? historyFolder : s.imageFolder);
}

const char* DefaultComment(CaptureContext& ctx, const Settings& s) {
    if (s.useFixedComment)
        CopyText(ctx.defaultComment, countof(ctx.defaultComment), s.fixedComment);
    else
        TitleAsComment(ctx.windowTitle, ctx.defaultComment, countof(ctx.defaultComment));
    return ctx.defaultComment;
}
