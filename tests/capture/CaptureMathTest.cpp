// Capture arithmetic: modifiers, image sizes and screen copies on one or
// several monitors, file names and numbers, BMP headers, menu allowance,
// markings at other DPIs.
#include "capture/CaptureMath.h"

#include <gtest/gtest.h>

#include <limits.h>

#include <string>
#include <vector>

TEST(CaptureMath, ModesPairWindowAndScreen) {
    EXPECT_TRUE(IsWindowMode(ActiveWindow));
    EXPECT_FALSE(IsWindowMode(WholeScreen));
    EXPECT_TRUE(IsWindowMode(ActiveWindowGlobalCursor));
    EXPECT_FALSE(IsWindowMode(WholeScreenGlobalCursor));
    EXPECT_FALSE(IsCaptureMode(101));
    EXPECT_TRUE(IsCaptureMode(102));
    EXPECT_TRUE(IsCaptureMode(109));
    EXPECT_FALSE(IsCaptureMode(110));
}

TEST(CaptureMath, HotkeyModifierMapping) {
    // 1 Shift -> MOD_SHIFT 4, 2 Ctrl -> MOD_CONTROL 2, 4 Alt -> MOD_ALT 1.
    struct { int stored; unsigned registered; } rows[] = {
        { 0, 0 }, { 1, 4 }, { 2, 2 }, { 4, 1 }, { 3, 6 }, { 5, 5 }, { 6, 3 }, { 7, 7 },
        { 8, 0 }, { 9, 4 }, { 15, 7 }, { 16, 0 },
    };
    for (auto& r : rows)
        EXPECT_EQ(r.registered, MapHotkeyModifiers(r.stored)) << "stored " << r.stored;
}

TEST(CaptureMath, ImageSizeRule) {
    struct {
        const char* name;
        int kind;
        CaptureRect rect;
        int keep;
        int width, height;
    } rows[] = {
        { "screen", CaptureKindScreen, { 0, 0, 1024, 768 }, 0, 1024, 768 },
        { "maximised, cut", CaptureKindWindow, { -4, -4, 1028, 772 }, 0, 1024, 768 },
        { "maximised, keep", CaptureKindWindow, { -4, -4, 1028, 772 }, 1, 1032, 776 },
        { "50 off the left, cut", CaptureKindWindow, { -50, 10, 250, 210 }, 0, 250, 200 },
        { "50 off the left, keep", CaptureKindWindow, { -50, 10, 250, 210 }, 1, 300, 200 },
        { "off the bottom right, cut", CaptureKindWindow, { 900, 700, 1100, 800 }, 0, 124, 68 },
        { "wholly right of the screen, cut", CaptureKindWindow, { 1100, 10, 1200, 50 }, 0, -76, 40 },
        { "inside", CaptureKindWindow, { 10, 20, 110, 70 }, 0, 100, 50 },
        // Found by fuzzing: other programs' windows far apart overflowed.
        { "far apart, cut", CaptureKindWindow, { 1326057472, 0, -1111687168, 10 }, 0, INT_MIN, 10 },
        { "largest, keep", CaptureKindWindow, { INT_MIN, INT_MIN, INT_MAX, INT_MAX }, 1, INT_MAX, INT_MAX },
        { "inverted, keep", CaptureKindWindow, { INT_MAX, INT_MAX, INT_MIN, INT_MIN }, 1, INT_MIN, INT_MIN },
    };
    for (auto& r : rows) {
        int w, h;
        CaptureImageSize(r.kind, r.rect, r.keep, { 0, 0, 1024, 768 }, &w, &h);
        EXPECT_EQ(r.width, w) << r.name;
        EXPECT_EQ(r.height, h) << r.name;
    }
}

static std::vector<int> Fields(const ScreenCopy& c) {
    return { c.sourceX, c.sourceY, c.imageX, c.imageY, c.width, c.height };
}

// Window grabs on two monitors: a 1024 x 768 primary P with a 1280 x 1024
// monitor L left of it (below P the virtual screen has a gap that no
// monitor shows) or R right of it.  Each row: the image size, the copy from
// one monitor (source x, y, image x, y, width, height) and how many black
// bands a window kept on black gets.
TEST(CaptureMath, WindowGrabsOnSeveralMonitors) {
    const ScreenArea left = { -1280, 0, 2304, 1024 }, right = { 0, 0, 2304, 1024 };
    const ScreenArea L = { -1280, 0, 1280, 1024 }, P = { 0, 0, 1024, 768 }, R = { 1024, 0, 1280, 1024 };
    struct {
        const char* name;
        ScreenArea screen, monitor;
        CaptureRect rect;
        int keep, width, height;
        bool copied;
        ScreenCopy copy;
        int bands;
    } rows[] = {
        { "on L, cut", left, L, { -900, 100, -500, 400 }, 0, 400, 300, true, { -900, 100, 0, 0, 400, 300 }, 0 },
        { "beyond L, keep", left, L, { -1300, 10, -1200, 60 }, 1, 100, 50, true, { -1280, 10, 20, 0, 80, 50 }, 1 },
        { "across, cut: L", left, L, { -100, 50, 200, 250 }, 0, 300, 200, true, { -100, 50, 0, 0, 100, 200 }, 0 },
        { "across, cut: P", left, P, { -100, 50, 200, 250 }, 0, 300, 200, true, { 0, 50, 100, 0, 200, 200 }, 0 },
        { "above P, keep", left, P, { -100, -50, 200, 150 }, 1, 300, 200, true, { 0, 0, 100, 50, 200, 150 }, 1 },
        { "into the gap, cut: P", left, P, { 500, 700, 700, 900 }, 0, 200, 200, true, { 500, 700, 0, 0, 200, 68 }, 0 },
        { "into the gap, cut: L", left, L, { 500, 700, 700, 900 }, 0, 200, 200, false, {}, 0 },
        { "on R, cut", right, R, { 1100, 100, 1500, 400 }, 0, 400, 300, true, { 1100, 100, 0, 0, 400, 300 }, 0 },
        { "below P, on R", right, R, { 1100, 900, 1300, 1100 }, 0, 200, 124, true, { 1100, 900, 0, 0, 200, 124 }, 1 },
        { "maximised on R, keep", right, R, { 1016, -8, 2312, 1032 }, 1, 1296, 1040, true,
          { 1024, 0, 8, 8, 1280, 1024 }, 3 },
        { "P alone, right of it, cut", P, P, { 1100, 100, 1500, 400 }, 0, -76, 300, false, {}, 1 },
        { "inverted, found by fuzzing", P, P, { 500, 0, 100, 100 }, 1, -400, 100, false, {}, 0 },
    };
    for (auto& r : rows) {
        int width, height;
        CaptureImageSize(CaptureKindWindow, r.rect, r.keep, r.screen, &width, &height);
        EXPECT_EQ(r.width, width) << r.name;
        EXPECT_EQ(r.height, height) << r.name;
        ScreenCopy copy;
        ASSERT_EQ(r.copied, WindowScreenCopy(r.rect, r.screen, r.monitor, r.keep, &copy)) << r.name;
        if (r.copied) {
            EXPECT_EQ(Fields(r.copy), Fields(copy)) << r.name;
        }
        CaptureRect bands[4];
        EXPECT_EQ(r.bands, OffscreenBands(r.rect, r.screen, bands)) << r.name;
    }
}

TEST(CaptureMath, NoWindowMarkingOnTheScreensLeftColumnOrTopRow) {
    struct { ScreenArea screen; int x, y; bool marks; } rows[] = {
        { { 0, 0, 1024, 768 }, 0, 100, false },       { { 0, 0, 1024, 768 }, 1, 1, true },
        { { -1280, 0, 2304, 1024 }, -500, 100, true }, { { -1280, 0, 2304, 1024 }, -1280, 100, false },
        { { 0, -200, 1024, 968 }, 10, -200, false },
    };
    for (auto& r : rows)
        EXPECT_EQ(r.marks, CursorMarksWindow(r.screen, r.x, r.y)) << r.x << ", " << r.y;
}

TEST(CaptureMath, MarkingSizesAtOtherDpis) {
    // The 2-pixel pen and the 20-pixel pictures at 100 to 300 %, and the
    // strip each picture is drawn from (cells 30, 35, 40, 45, 50, 60).
    struct { int dpi, pen, picture, cell; } rows[] = {
        { 96, 2, 20, 30 },  { 120, 3, 25, 30 }, { 144, 3, 30, 30 }, { 168, 4, 35, 35 },
        { 192, 4, 40, 40 }, { 216, 5, 45, 45 }, { 240, 5, 50, 50 }, { 288, 6, 60, 60 }, { 384, 8, 80, 60 },
        { 0, 2, 20, 30 },
    };
    for (auto& r : rows) {
        EXPECT_EQ(r.pen, ScaleToDpi(2, r.dpi)) << r.dpi;
        EXPECT_EQ(r.picture, ScaleToDpi(20, r.dpi)) << r.dpi;
        EXPECT_EQ(r.cell, CursorStripCells[CursorStripFor(r.picture)]) << r.dpi;
    }
    EXPECT_EQ(1, ScaleToDpi(1, 24)) << "never below one pixel";
}

static std::vector<unsigned char> Headers(int width, int height) {
    unsigned char h[BmpHeaderSize];
    EXPECT_TRUE(BuildBmpHeaders(h, width, height));
    return std::vector<unsigned char>(h, h + BmpHeaderSize);
}

// Small images' headers are checked byte by byte with the files written.
TEST(CaptureMath, BmpHeadersForAScreen) {
    std::vector<unsigned char> h = Headers(1920, 1080);
    // 5760 * 1080 = 6220800 = 0x005EEC00; file size 0x005EEC36.
    EXPECT_EQ(0x36, h[2]);
    EXPECT_EQ(0xEC, h[3]);
    EXPECT_EQ(0x5E, h[4]);
    EXPECT_EQ(0x00, h[5]);
    EXPECT_EQ(0x00, h[34]);
    EXPECT_EQ(0xEC, h[35]);
    EXPECT_EQ(0x5E, h[36]);
    EXPECT_EQ(0x80, h[18]);
    EXPECT_EQ(0x07, h[19]);
    EXPECT_EQ(0x38, h[22]);
    EXPECT_EQ(0x04, h[23]);
}

TEST(CaptureMath, BmpHeadersRefuseEmptyAndHugeImages) {
    unsigned char h[BmpHeaderSize];
    EXPECT_FALSE(BuildBmpHeaders(h, 0, 10));
    EXPECT_FALSE(BuildBmpHeaders(h, 10, -1));
    EXPECT_FALSE(BuildBmpHeaders(h, 100000, 100000));
    // Widths whose 32-bit row size would wrap round to a few bytes.
    EXPECT_FALSE(BuildBmpHeaders(h, 0x55555556, 1));
    EXPECT_FALSE(BuildBmpHeaders(h, 0x7FFFFFFF, 1));
    EXPECT_EQ(0x100000004ull, BmpStride(0x55555556));
}

TEST(CaptureMath, ImageFileNames) {
    struct {
        const char* folder;
        const char* prefix;
        int number;
        bool pad;
        int jpegMode;
        const char* name;
    } rows[] = {
        { "C:\\cap", "a", 7, false, 1, "C:\\cap\\a7.jpg" },
        { "C:\\cap", "a", 7, true, 1, "C:\\cap\\a000007.jpg" },
        { "C:\\cap", "a", 7, false, 0, "C:\\cap\\a7.bmp" },
        { "C:\\cap", "a", 7, true, 0, "C:\\cap\\a000007.bmp" },
        { "C:\\cap", "a", 7, false, 2, "C:\\cap\\a7.png" },
        { "C:\\cap", "a", 7, true, 2, "C:\\cap\\a000007.png" },
        { "C:\\cap", "a", 7, false, 3, "C:\\cap\\a7.bmp" },
        { "C:\\cap", "a", 7, false, -1, "C:\\cap\\a7.bmp" },
        { "C:\\cap", "AAA", 1, false, 1, "C:\\cap\\AAA1.jpg" },
        { "C:\\cap", "", 12, false, 0, "C:\\cap\\12.bmp" },
        { "C:\\cap", "a", -3, false, 1, "C:\\cap\\a-3.jpg" },
        { "C:\\cap", "a", 1234567, true, 1, "C:\\cap\\a1234567.jpg" },
        { "C:\\cap\\", "a", 0, false, 1, "C:\\cap\\\\a0.jpg" },
    };
    for (auto& r : rows) {
        char out[260];
        EXPECT_TRUE(BuildImageFileName(out, sizeof(out), r.folder, r.prefix, r.number, r.pad,
                                       ImageFormatOf(r.jpegMode)));
        EXPECT_STREQ(r.name, out);
    }
}

TEST(CaptureMath, ImageFileNameThatDoesNotFitIsEmpty) {
    std::string folder(250, 'f');
    char out[260];
    EXPECT_FALSE(BuildImageFileName(out, sizeof(out), folder.c_str(), "prefix", 123456, false, ImageJpeg));
    EXPECT_STREQ("", out);
}

TEST(CaptureMath, NumberAfter) {
    struct { int number, max, next; } rows[] = {
        { 1, 999999, 2 }, { 5, 5, 6 }, { 6, 5, 0 }, { 0, -1, 0 }, { 0, 0, 1 },
        { 1, 0, 0 }, { INT_MAX, INT_MAX, 0 }, { -7, 5, -6 },
    };
    for (auto& r : rows)
        EXPECT_EQ(r.next, NumberAfter(r.number, r.max)) << r.number << " max " << r.max;
}

TEST(CaptureMath, MenuAllowance) {
    // Without a menu the window is exactly as high as its frame, caption and
    // client area; each menu row after the first adds its height less one.
    struct { int height, without, row, allowance; } rows[] = {
        { 200, 200, 19, 0 },
        { 219, 200, 19, 19 },
        { 210, 200, 19, 19 },
        { 237, 200, 19, 37 },
        { 238, 200, 19, 37 },
        { 239, 200, 19, 55 },
        { 190, 200, 19, 19 },
        { INT_MAX, 0, 10000000, INT_MAX }, // found by fuzzing: overflowed
    };
    for (auto& r : rows)
        EXPECT_EQ(r.allowance, MenuAllowance(r.height, r.without, r.row))
            << "height " << r.height << " without menu " << r.without;
}
