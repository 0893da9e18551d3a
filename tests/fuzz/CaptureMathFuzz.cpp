// The capture arithmetic on any numbers: window rectangles and heights come
// from other programs, folders and prefixes from the settings file.  Nothing
// may overflow (UndefinedBehaviorSanitizer watches), the BMP headers are
// refused rather than wrong, and an image file name is whole or empty.
#include <limits.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "capture/CaptureMath.h"
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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    CaptureRect rect;
    rect.left = TakeInt(p, end);
    rect.top = TakeInt(p, end);
    rect.right = TakeInt(p, end);
    rect.bottom = TakeInt(p, end);
    int screenWidth = TakeInt(p, end), screenHeight = TakeInt(p, end);
    int keep = TakeInt(p, end);
    for (int kind = CaptureKindWindow; kind <= CaptureKindScreen; kind++) {
        int width, height;
        CaptureImageSize(kind, rect, keep, screenWidth, screenHeight, &width, &height);
        FuzzBmpHeaders(width, height);
    }
    int windowHeight = TakeInt(p, end), withoutMenu = TakeInt(p, end), menuRow = TakeInt(p, end);
    MenuAllowance(windowHeight, withoutMenu, menuRow);
    int number = TakeInt(p, end), maxNumber = TakeInt(p, end);
    int after = NumberAfter(number, maxNumber);
    Check(after == 0 || after == number + 1);
    MapHotkeyModifiers(number);
    FuzzFileName(p, end, number, 1 + (size_t)(uint32_t)maxNumber % 599);
    return 0;
}
