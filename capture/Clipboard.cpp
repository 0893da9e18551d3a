#include "capture/Clipboard.h"

#include <string.h>

#include "base/WinHandles.h"
#include "capture/ImageFiles.h"

// How long another program's hold on the clipboard is waited out: a few
// tries a short while apart, so that a capture key never stalls for long.
enum { ClipboardTries = 8, ClipboardRetryMs = 25 };
// A PNG larger than this goes on the clipboard as pixels only.
const DWORD MaxClipboardPngSize = (DWORD)256 << 20;

// A movable global block holding `first` followed by `second`.
static HGLOBAL GlobalCopy(const void* first, size_t firstSize, const void* second, size_t secondSize) {
    ScopedGlobal block(GlobalAlloc(GMEM_MOVEABLE, firstSize + secondSize));
    unsigned char* bytes = block.Get() ? (unsigned char*)GlobalLock(block.Get()) : NULL;
    if (!bytes)
        return NULL;
    memcpy(bytes, first, firstSize);
    if (secondSize)
        memcpy(bytes + firstSize, second, secondSize);
    GlobalUnlock(block.Get());
    return block.Release();
}

// The information header and the bottom-up rows, as the file holds them.
static HGLOBAL CopyDib(const CaptureContext& ctx, HWND owner) {
    CapturedPixels px;
    if (!ReadCapturedPixels(ctx, owner, px))
        return NULL;
    return GlobalCopy(px.header + BmpInfoHeaderOffset, sizeof(BITMAPINFOHEADER), px.rows, px.size);
}

// The whole file, read while no one writes it.
static HGLOBAL CopyFileBytes(const char* path) {
    ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    DWORD high = 0, size = file.IsValid() ? GetFileSize(file.Get(), &high) : INVALID_FILE_SIZE;
    if (size == INVALID_FILE_SIZE || high != 0 || size == 0 || size > MaxClipboardPngSize)
        return NULL;
    ScopedGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
    void* bytes = block.Get() ? GlobalLock(block.Get()) : NULL;
    if (!bytes)
        return NULL;
    DWORD got = 0;
    BOOL read = ReadFile(file.Get(), bytes, size, &got, NULL);
    GlobalUnlock(block.Get());
    return read && got == size ? block.Release() : NULL;
}

// Hands a block to the clipboard, which owns it from then on.
static bool PutOnClipboard(UINT format, HGLOBAL data) {
    ScopedGlobal block(data);
    if (!format || !block.Get() || !SetClipboardData(format, block.Get()))
        return false;
    block.Release();
    return true;
}

static bool OpenWithRetries(ScopedClipboard& clipboard, HWND owner) {
    for (int i = 1; !clipboard.Open(owner); i++) {
        if (i == ClipboardTries)
            return false;
        Sleep(ClipboardRetryMs);
    }
    return true;
}

bool CopyCaptureToClipboard(const CaptureContext& ctx, HWND owner) {
    // Everything is made before the clipboard is opened, so that it is
    // held only for the moment of the exchange.
    ScopedGlobal dib(CopyDib(ctx, owner));
    ScopedGlobal png(ctx.imageFormat == ImagePng ? CopyFileBytes(ctx.imageFilePath) : NULL);
    if (!dib.Get())
        return false;
    ScopedClipboard clipboard;
    if (!OpenWithRetries(clipboard, owner))
        return false;
    bool ok = EmptyClipboard() != FALSE;
    // Programs take the first format they understand: the file's own
    // bytes come first.
    if (ok && png.Get())
        PutOnClipboard(RegisterClipboardFormatA("PNG"), png.Release());
    return ok && PutOnClipboard(CF_DIB, dib.Release());
}
