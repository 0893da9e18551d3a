// The capture arithmetic on any numbers: window rectangles and heights come
// from other programs, folders and prefixes from the settings file.  Nothing
// may overflow (UndefinedBehaviorSanitizer watches), the BMP headers are
// refused rather than wrong, a window grab copies only what lies on the
// screen into the image, and an image file name is whole or empty.  A
// window title, chosen by another program, becomes a comment without a
// byte of markup, within its buffer and in whole characters.
#include <limits.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "capture/CaptureMath.h"
#include "capture/TitleComment.h"
#include "tests/fuzz/FuzzSupport.h"

static int32_t TakeInt(const uint8_t*& p, const uint8_t* end) {
    uint32_t v = 0;
    for (int i = 0; i < 4; i++)
        v = v << 8 | (p < end ? *p++ : 0);
    return (int32_t)v;
}

static uint32_t Get32(const unsigned char* p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static void FuzzBmpHeaders(int width, int height) {
    unsigned char h[BmpHeaderSize];
    if (!BuildBmpHeaders(h, width, height)) {
        Check(width <= 0 || height <= 0 || BmpStride(width) * (uint64_t)height > (uint64_t)INT_MAX - BmpHeaderSize);
        return;
    }
    uint64_t stride = BmpStride(width);
    Check(stride % 4 == 0 && stride >= (uint64_t)width * 3 && stride < (uint64_t)width * 3 + 4);
    Check(Get32(h + 34) == stride * (uint64_t)height);
    Check(Get32(h + 2) == Get32(h + 34) + BmpHeaderSize);
    Check((int32_t)Get32(h + 18) == width && (int32_t)Get32(h + 22) == height);
}

static void FuzzFileName(const uint8_t* p, const uint8_t* end, int number, size_t outSize) {
    std::string folder, prefix;
    std::string* part = &folder;
    for (; p < end; p++) {
        if (*p == 0 && part == &folder)
            part = &prefix;
        else if (*p != 0)
            *part += (char)*p;
    }
    char out[600];
    memset(out, 0x7F, sizeof(out));
    bool fits = BuildImageFileName(out, outSize, folder.c_str(), prefix.c_str(), number, number & 1,
                                   ImageFormatOf((number >> 1) & 3));
    Check(out[outSize] == 0x7F);
    size_t n = strnlen(out, outSize);
    Check(n < outSize);
    Check(fits ? n > 4 && (EndsWith(out, ".jpg") || EndsWith(out, ".bmp") || EndsWith(out, ".png")) : n == 0);
}

static void FuzzTitle(const uint8_t* p, const uint8_t* end, size_t outSize) {
    std::string title((const char*)p, (size_t)(end - p));
    title = title.c_str();
    char out[130];
    memset(out, 0x7F, sizeof(out));
    TitleAsComment(title.c_str(), out, outSize);
    Check(out[outSize] == 0x7F);
    size_t n = strnlen(out, outSize);
    Check(n < outSize);
    for (size_t i = 0; i < n; i += SjisCharLength(out + i, n - i)) {
        size_t len = SjisCharLength(out + i, n - i);
        Check(len == 2 || !IsSjisLeadByte((unsigned char)out[i]));
        Check(len == 2 || (out[i] != '<' && out[i] != '>' && out[i] != '&'));
        Check(i > 0 || len == 2 || (out[i] != '=' && out[i] != '+' && out[i] != '-' && out[i] != '@'));
    }
}

// The copy from the screen lies on the screen and inside the image; the
// black bands lie inside the image.  (Only where the image's size is exact:
// a window rectangle over 2^31 pixels wide saturates it.)
static void FuzzWindowCopy(const CaptureRect& rect, const ScreenArea& screen, int keep) {
    int width, height;
    CaptureImageSize(CaptureKindWindow, rect, keep, screen, &width, &height);
    bool exact = (long long)rect.right - rect.left == width && (long long)rect.bottom - rect.top == height;
    ScreenCopy c;
    if (WindowScreenCopy(rect, screen, screen, keep, &c)) {
        Check(c.width > 0 && c.height > 0);
        Check(c.sourceX >= screen.left && (long long)c.sourceX + c.width <= (long long)screen.left + screen.width);
        Check(c.sourceY >= screen.top && (long long)c.sourceY + c.height <= (long long)screen.top + screen.height);
        if (keep == 0)
            Check(c.imageX == 0 && c.imageY == 0 && c.width == width && c.height == height);
        else if (exact)
            Check(c.imageX >= 0 && (long long)c.imageX + c.width <= width && c.imageY >= 0 &&
                  (long long)c.imageY + c.height <= height);
    }
    CaptureRect bands[4];
    int n = OffscreenBands(rect, screen, bands);
    Check(n >= 0 && n <= 4);
    for (int i = 0; i < n && keep != 0 && exact; i++)
        Check(bands[i].left >= 0 && bands[i].left <= bands[i].right && bands[i].right <= width && bands[i].top >= 0 &&
              bands[i].top <= bands[i].bottom && bands[i].bottom <= height);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    CaptureRect rect;
    rect.left = TakeInt(p, end);
    rect.top = TakeInt(p, end);
    rect.right = TakeInt(p, end);
    rect.bottom = TakeInt(p, end);
    ScreenArea screen;
    screen.width = TakeInt(p, end);
    screen.height = TakeInt(p, end);
    int keep = TakeInt(p, end);
    screen.left = TakeInt(p, end);
    screen.top = TakeInt(p, end);
    for (int kind = CaptureKindWindow; kind <= CaptureKindScreen; kind++) {
        int width, height;
        CaptureImageSize(kind, rect, keep, screen, &width, &height);
        FuzzBmpHeaders(width, height);
    }
    FuzzWindowCopy(rect, screen, keep);
    int windowHeight = TakeInt(p, end), withoutMenu = TakeInt(p, end), menuRow = TakeInt(p, end);
    MenuAllowance(windowHeight, withoutMenu, menuRow);
    int number = TakeInt(p, end), maxNumber = TakeInt(p, end);
    int after = NumberAfter(number, maxNumber);
    Check(after == 0 || after == number + 1);
    MapHotkeyModifiers(number);
    int scaled = ScaleToDpi(number, maxNumber);
    Check(scaled >= 1);
    int strip = CursorStripFor(scaled);
    Check(strip >= 0 && strip < CursorStripCount);
    FuzzFileName(p, end, number, 1 + (size_t)(uint32_t)maxNumber % 599);
    FuzzTitle(p, end, 1 + (size_t)(uint32_t)number % 129);
    return 0;
}
