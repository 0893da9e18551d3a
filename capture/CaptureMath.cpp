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

void CaptureImageSize(int kind, const CaptureRect& rect, int keepOffscreen, int screenWidth,
                      int screenHeight, int* width, int* height) {
    if (kind == CaptureKindScreen) {
        *width = screenWidth;
        *height = screenHeight;
    } else if (keepOffscreen == 0) {
        *width = Saturate(Min(rect.right, screenWidth) - Max(rect.left, 0));
        *height = Saturate(Min(rect.bottom, screenHeight) - Max(rect.top, 0));
    } else {
        *width = Saturate((long long)rect.right - rect.left);
        *height = Saturate((long long)rect.bottom - rect.top);
    }
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
