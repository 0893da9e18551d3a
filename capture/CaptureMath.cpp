#include "capture/CaptureMath.h"

#include <limits.h>

#include "base/ByteString.h"

unsigned MapHotkeyModifiers(int stored) {
    unsigned mods = 0;
    if (stored & 1)
        mods |= 4; // MOD_SHIFT
    if (stored & 2)
        mods |= 2; // MOD_CONTROL
    if (stored & 4)
        mods |= 1; // MOD_ALT
    return mods;
}

static long long Min(long long a, long long b) {
    return a < b ? a : b;
}

static long long Max(long long a, long long b) {
    return a > b ? a : b;
}

// Rectangles come from other programs' windows: their differences are taken
// in 64 bits and saturated, never left to overflow.
static int Saturate(long long v) {
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : (int)v;
}

static long long Right(const ScreenArea& s) {
    return (long long)s.left + s.width;
}

static long long Bottom(const ScreenArea& s) {
    return (long long)s.top + s.height;
}

void CaptureImageSize(int kind, const CaptureRect& rect, int keepOffscreen, const ScreenArea& screen, int* width,
                      int* height) {
    if (kind == CaptureKindScreen) {
        *width = screen.width;
        *height = screen.height;
    } else if (keepOffscreen == 0) {
        *width = Saturate(Min(rect.right, Right(screen)) - Max(rect.left, screen.left));
        *height = Saturate(Min(rect.bottom, Bottom(screen)) - Max(rect.top, screen.top));
    } else {
        *width = Saturate((long long)rect.right - rect.left);
        *height = Saturate((long long)rect.bottom - rect.top);
    }
}

bool WindowScreenCopy(const CaptureRect& rect, const ScreenArea& screen, const ScreenArea& monitor, int keepOffscreen,
                      ScreenCopy* copy) {
    long long left = Max(Max(rect.left, screen.left), monitor.left);
    long long top = Max(Max(rect.top, screen.top), monitor.top);
    long long right = Min(Min(rect.right, Right(screen)), Right(monitor));
    long long bottom = Min(Min(rect.bottom, Bottom(screen)), Bottom(monitor));
    if (right <= left || bottom <= top)
        return false;
    // The screen point that the image's top-left pixel shows.
    long long originX = keepOffscreen == 0 ? Max(rect.left, screen.left) : rect.left;
    long long originY = keepOffscreen == 0 ? Max(rect.top, screen.top) : rect.top;
    copy->sourceX = (int)left;
    copy->sourceY = (int)top;
    copy->width = Saturate(right - left);
    copy->height = Saturate(bottom - top);
    copy->imageX = Saturate(left - originX);
    copy->imageY = Saturate(top - originY);
    return true;
}

int OffscreenBands(const CaptureRect& rect, const ScreenArea& screen, CaptureRect bands[4]) {
    long long width = (long long)rect.right - rect.left, height = (long long)rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return 0; // an empty window has nothing to paint
    // Where the screen's edges fall in the image, kept inside the image.
    int left = Saturate(Max(0, Min((long long)screen.left - rect.left, width)));
    int right = Saturate(Max(0, Min(Right(screen) - rect.left, width)));
    int top = Saturate(Max(0, Min((long long)screen.top - rect.top, height)));
    int bottom = Saturate(Max(0, Min(Bottom(screen) - rect.top, height)));
    int w = Saturate(width), h = Saturate(height);
    int n = 0;
    if (rect.left < screen.left)
        bands[n++] = { 0, 0, left, h };
    if (rect.right > Right(screen))
        bands[n++] = { right, 0, w, h };
    if (rect.top < screen.top)
        bands[n++] = { 0, 0, w, top };
    if (rect.bottom > Bottom(screen))
        bands[n++] = { 0, bottom, w, h };
    return n;
}

bool CursorMarksWindow(const ScreenArea& screen, int x, int y) {
    return x > screen.left && y > screen.top;
}

uint64_t BmpStride(int width) {
    return ((uint64_t)(uint32_t)width * 3 + 3) & ~(uint64_t)3;
}

static void Put16(unsigned char* p, uint32_t v) {
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
}

static void Put32(unsigned char* p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

bool BuildBmpHeaders(unsigned char out[BmpHeaderSize], int width, int height) {
    for (int i = 0; i < BmpHeaderSize; i++)
        out[i] = 0;
    if (width <= 0 || height <= 0)
        return false;
    uint64_t imageSize = BmpStride(width) * (uint64_t)height;
    if (imageSize > (uint64_t)INT_MAX - BmpHeaderSize)
        return false;
    out[0] = 'B';
    out[1] = 'M';
    Put32(out + 2, (uint32_t)imageSize + BmpHeaderSize);
    Put32(out + 10, BmpHeaderSize);
    Put32(out + 14, 40);
    Put32(out + 18, (uint32_t)width);
    Put32(out + 22, (uint32_t)height);
    Put16(out + 26, 1);
    Put16(out + 28, 24);
    Put32(out + 34, (uint32_t)imageSize);
    return true;
}

ImageFormat ImageFormatOf(int jpegMode) {
    return jpegMode == ImageJpeg ? ImageJpeg : jpegMode == ImagePng ? ImagePng : ImageBmp;
}

bool BuildImageFileName(char* out, size_t outSize, const char* folder, const char* prefix, int number,
                        bool zeroPad, ImageFormat format) {
    const char* ext = format == ImageJpeg ? "jpg" : format == ImagePng ? "png" : "bmp";
    bool fits = zeroPad ? FormatText(out, outSize, "%s\\%s%06d.%s", folder, prefix, number, ext)
                        : FormatText(out, outSize, "%s\\%s%d.%s", folder, prefix, number, ext);
    // A cut name would be another file's name: better none at all.
    if (!fits && outSize > 0)
        out[0] = '\0';
    return fits;
}

int NumberAfter(int number, int maxNumber) {
    if (number > maxNumber || number == INT_MAX)
        return 0;
    return number + 1;
}

int MenuAllowance(int windowHeight, int heightWithoutMenu, int menuRowHeight) {
    if (windowHeight == heightWithoutMenu)
        return 0;
    if (menuRowHeight <= 0)
        return menuRowHeight;
    // Each further menu row adds its height less the one-pixel line that
    // adjacent rows share.
    long long allowance = menuRowHeight;
    long long rows = 1;
    while (windowHeight > heightWithoutMenu + rows * menuRowHeight && rows < 1000) {
        rows++;
        allowance += menuRowHeight - 1;
    }
    return Saturate(allowance);
}

int ScaleToDpi(int size, int dpi) {
    if (dpi <= 0)
        dpi = 96;
    long long scaled = ((long long)size * dpi + 48) / 96;
    return scaled < 1 ? 1 : Saturate(scaled);
}

const int CursorStripCells[CursorStripCount] = { 30, 35, 40, 45, 50, 60 };

int CursorStripFor(int size) {
    for (int i = 0; i < CursorStripCount; i++)
        if (CursorStripCells[i] >= size)
            return i;
    return CursorStripCount - 1;
}
