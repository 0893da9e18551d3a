// The image preview on the real main window: what it loads for the selected
// row, what it paints, how it scrolls, and how it survives damaged files.
#include "imagepreview/PreviewWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "history/HistoryFile.h"
#include "history/HistoryView.h"
#include "tests/history/ShellTestSupport.h"
#include "tests/imagepreview/TestImages.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

bool Near(unsigned a, unsigned b) {
    return ::Near(a, b, 24);
}

// What the screen shows at a point of the preview's client area.
unsigned ScreenPixel(int x, int y) {
    POINT p = { x, y };
    ClientToScreen(gPreview.window, &p);
    RECT r = { p.x, p.y, p.x + 1, p.y + 1 };
    return GrabScreenRect(r).At(0, 0);
}

// What WM_PRINTCLIENT draws at a point, in a memory bitmap.
unsigned PrintedPixel(int x, int y) {
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 400);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, 400, 400, BLACKNESS);
    SendMessageA(gPreview.window, WM_PRINTCLIENT, (WPARAM)memory, PRF_CLIENT);
    COLORREF c = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return (unsigned)GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

SCROLLINFO Bar(int bar) {
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(gPreview.window, bar, &si);
    return si;
}

SIZE PreviewSize() {
    RECT r;
    GetWindowRect(gPreview.window, &r);
    return { r.right - r.left, r.bottom - r.top };
}

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestMainWindow();
        WriteTestJpeg(dir.File("quad.jpg"), 300, 200, 3, Quadrants);
        WriteTestJpeg(dir.File("big.jpg"), 1024, 768, 3, Quadrants);
    }
    // Selects a row and waits for the preview to follow.
    void Show(int row) {
        SelectRows({ row });
        PumpFor(150);
    }
    TempDir dir;
    MessageBoxRecorder boxes;
};

} // namespace

TEST_F(PreviewTest, SelectedRowsImageIsPaintedTenPixelsIn) {
    LoadHistory(dir.Path(), { { "quadrants", "\\quad.jpg", "" }, { "bitmap", "\\own.bmp", "" },
                              { "clear", "\\clear.png", "" } });
    WriteFileBytes(dir.File("own.bmp"), TestBmpBytes(40, 30, Quadrants));
    WriteFileBytes(dir.File("clear.png"), TestPngBytes(60, 40, 3, 8, false, Quadrants, AlphaQuadrants));
    Show(0);
    ASSERT_FALSE(gPreview.image.Empty());
    EXPECT_EQ(300, gPreview.image.Width());
    EXPECT_EQ(200, gPreview.image.Height());
    SaveWindowPng(gShell.hwndMain, "main_window_preview");
    struct { int x, y; unsigned colour; } points[] = {
        { 10, 10, 0xFF0000 }, { 5, 5, 0xFFFFFF }, { 9, 40, 0xFFFFFF }, { 10 + 299, 10, 0x00FF00 },
        { 10, 10 + 199, 0x0000FF }, { 20, 10 + 200, 0xFFFFFF },
    };
    for (const auto& p : points) {
        EXPECT_TRUE(Near(p.colour, ScreenPixel(p.x, p.y))) << p.x << "," << p.y << " " << std::hex
                                                          << ScreenPixel(p.x, p.y);
        EXPECT_TRUE(Near(p.colour, PrintedPixel(p.x, p.y)) || (p.x < 10 || p.y >= 210))
            << p.x << "," << p.y << " printed " << std::hex << PrintedPixel(p.x, p.y);
    }
    Show(1);
    ASSERT_FALSE(gPreview.image.Empty());
    EXPECT_EQ(40, gPreview.image.Width());
    EXPECT_TRUE(Near(0xFF0000, ScreenPixel(10, 10)));
    EXPECT_TRUE(Near(0xFFFFFF, ScreenPixel(10 + 39, 10 + 29)));
    EXPECT_TRUE(Near(0x0000FF, ScreenPixel(10, 10 + 29)));
    // A palette PNG with transparency: its clear green quadrant lies over
    // white, its half-clear blue one is lightened.
    Show(2);
    ASSERT_EQ(60, gPreview.image.Width());
    struct { int x, y; unsigned colour; } alpha[] = {
        { 12, 12, 0xFF0000 }, { 10 + 50, 12, 0xFFFFFF }, { 12, 10 + 30, 0x7F7FFF }, { 10 + 50, 10 + 30, 0xFFFFFF },
    };
    for (const auto& p : alpha)
        EXPECT_TRUE(Near(p.colour, ScreenPixel(p.x, p.y)))
            << p.x << "," << p.y << std::hex << " " << ScreenPixel(p.x, p.y);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(PreviewTest, ClearedSelectionPaintsWhite) {
    LoadHistory(dir.Path(), { { "quadrants", "\\quad.jpg", "" } });
    Show(0);
    ASSERT_FALSE(gPreview.image.Empty());
    SelectRows({});
    PumpFor(150);
    EXPECT_TRUE(gPreview.image.Empty());
    EXPECT_EQ(0xFFFFFFu, ScreenPixel(10, 10));
    EXPECT_EQ(0xFFFFFFu, PrintedPixel(10, 10));
}

TEST_F(PreviewTest, ScrollRangesFollowWindowAndImage) {
    LoadHistory(dir.Path(), { { "small", "\\quad.jpg", "" }, { "big", "\\big.jpg", "" } });
    SIZE s = PreviewSize();
    ASSERT_TRUE(s.cx >= 300 && s.cy >= 200 && s.cx < 1024 && s.cy < 768) << s.cx << "x" << s.cy;
    int bar = GetSystemMetrics(SM_CYHSCROLL);
    struct { int row; int vMax, vPage, hMax, hPage; } cases[] = {
        { 0, (int)s.cy, (int)s.cy, 320, 320 },
        { 1, 768 + bar + 30, (int)s.cy, 1044, (int)s.cx },
    };
    for (const auto& c : cases) {
        Show(c.row);
        SCROLLINFO v = Bar(SB_VERT), h = Bar(SB_HORZ);
        EXPECT_EQ(0, v.nMin);
        EXPECT_EQ(c.vMax, v.nMax) << c.row;
        EXPECT_EQ(c.vPage, (int)v.nPage) << c.row;
        EXPECT_EQ(0, v.nPos);
        EXPECT_EQ(c.hMax, h.nMax) << c.row;
        EXPECT_EQ(c.hPage, (int)h.nPage) << c.row;
        EXPECT_EQ(0, h.nPos);
    }
}

TEST_F(PreviewTest, ScrollingByBarKeysAndWheel) {
    LoadHistory(dir.Path(), { { "big", "\\big.jpg", "" } });
    Show(0);
    HWND w = gPreview.window;
    SCROLLINFO v = Bar(SB_VERT), h = Bar(SB_HORZ);
    int vLine = (int)v.nPage / 10, hLine = (int)h.nPage / 10;
    int vLast = v.nMax - (int)v.nPage + 1, hLast = h.nMax - (int)h.nPage + 1; // the platform's limits
    int h2 = std::min(2 * hLine, hLast);
    struct { const char* name; UINT msg; WPARAM wParam; int vPos, hPos; } steps[] = {
        { "line down", WM_VSCROLL, SB_LINEDOWN, vLine, 0 },
        { "bottom", WM_VSCROLL, SB_BOTTOM, std::min(v.nMax - vLine, vLast), 0 },
        { "top", WM_VSCROLL, SB_TOP, 0, 0 },
        { "thumb", WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 123), 123, 0 },
        { "page up", WM_VSCROLL, SB_PAGEUP, 0, 0 },
        { "page right", WM_HSCROLL, SB_PAGERIGHT, 0, std::min((int)h.nPage, hLast) },
        { "left end", WM_HSCROLL, SB_LEFT, 0, 0 },
        { "wheel back", WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-120), vLine, 0 },
        { "wheel forward twice", WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0, 0 },
        { "touchpad, a third of a notch back", WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-40), 0, 0 },
        { "two thirds", WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-40), 0, 0 },
        { "a whole notch", WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-40), vLine, 0 },
        { "a notch forward", WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0, 0 },
        { "Shift wheel back", WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, (WORD)-240), 0, h2 },
        { "down arrow", WM_KEYDOWN, VK_DOWN, vLine, h2 },
        { "left arrow", WM_KEYDOWN, VK_LEFT, vLine, h2 - hLine },
        { "up arrow", WM_KEYDOWN, VK_UP, 0, h2 - hLine },
        { "right arrow", WM_KEYDOWN, VK_RIGHT, 0, std::min(h2, hLast) },
    };
    for (const auto& s : steps) {
        SendMessageA(w, s.msg, s.wParam, 0);
        EXPECT_EQ(s.vPos, Bar(SB_VERT).nPos) << s.name;
        EXPECT_EQ(s.hPos, Bar(SB_HORZ).nPos) << s.name;
    }
    // Scrolled sideways, the border between the top quadrants moves left.
    PumpFor(100);
    int border = 10 + 512 - Bar(SB_HORZ).nPos;
    EXPECT_TRUE(Near(0xFF0000, ScreenPixel(border - 5, 20))) << std::hex << ScreenPixel(border - 5, 20);
    EXPECT_TRUE(Near(0x00FF00, ScreenPixel(border + 5, 20))) << std::hex << ScreenPixel(border + 5, 20);
    SendMessageA(w, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(gHistoryView.list, GetFocus());
}

TEST_F(PreviewTest, DamagedAndMissingFilesLeaveTheProgramAndItsEditsAlone) {
    std::string good = ReadFileBytes(dir.File("quad.jpg"));
    std::string huge = good;
    size_t sof = huge.find("\xFF\xC0");
    huge.replace(sof + 5, 4, "\xEA\x60\xEA\x60");
    std::string bmp = TestBmpBytes(40, 30, Quadrants);
    std::string png = TestPngBytes(300, 200, 2, 8, false, Quadrants);
    std::string zeroWidth = bmp;
    zeroWidth.replace(18, 4, std::string(4, '\0'));
    std::string hostile = bmp;
    hostile.replace(2, 4, "\xFF\xFF\xFF\x7F");
    hostile.replace(22, 4, "\x00\x00\x01\x00", 4);
    const std::string readFailed = "ファイルの読み込みに失敗しました\r\n (";
    const std::string openFailed = "ファイルのオープンに失敗しました\r\n (";
    struct {
        const char* name;
        std::string bytes; // none: the file does not exist
        bool exists;
        std::string text;  // start of the message, then the path; "" for none
        const char* caption;
        UINT flags;
        bool keepsOld;
    } cases[] = {
        { "trunc.jpg", good.substr(0, good.size() / 2), true, readFailed, "ERROR", MB_ICONERROR, false },
        { "garbage.jpg", "not a picture", true, readFailed, "ERROR", MB_ICONERROR, false },
        { "cmyk.jpg", TestJpegBytes(16, 16, 4, Quadrants), true, readFailed, "ERROR", MB_ICONERROR, false },
        { "huge.jpg", huge, true, readFailed, "ERROR", MB_ICONERROR, false },
        { "width0.bmp", zeroWidth, true, readFailed, "ERROR", MB_ICONERROR, false },
        { "short.bmp", bmp.substr(0, bmp.size() - 7), true, readFailed, "ERROR", MB_ICONERROR, false },
        { "hostile.bmp", hostile, true, readFailed, "ERROR", MB_ICONERROR, false },
        { "tiny.bmp", "BM", true, readFailed, "ERROR", MB_ICONERROR, false },
        { "rle8.bmp", HandBmpBytes({ 8, 1, 2, 2, 1, PaletteEntry(0), std::string(8, '\0') }), true, readFailed,
          "ERROR", MB_ICONERROR, false },
        { "trunc.png", png.substr(0, png.size() / 2), true, readFailed, "ERROR", MB_ICONERROR, true },
        { "missing.jpg", "", false, openFailed, "ERROR", MB_ICONERROR, true },
        { "missing.bmp", "", false, "ファイルのオープンに失敗しました", "Error", MB_OK, true },
        { "upper.JPG", good, true, "", "", 0, false },
        { "grey.jpg", TestJpegBytes(32, 32, 1, Quadrants), true, "", "", 0, false },
    };
    for (const auto& c : cases) {
        if (c.exists)
            WriteFileBytes(dir.File(c.name), c.bytes);
        LoadHistory(dir.Path(), { { "good", "\\quad.jpg", "" }, { "case", std::string("\\") + c.name, "" } });
        Show(0);
        ASSERT_FALSE(gPreview.image.Empty()) << c.name;
        const unsigned char* old = gPreview.image.Block();
        gHistory.modified = 1; // unsaved edits
        boxes.messages.clear();
        Show(1);
        bool grey = std::string(c.name) == "grey.jpg";
        EXPECT_EQ(c.keepsOld || grey, !gPreview.image.Empty()) << c.name;
        if (c.keepsOld) {
            EXPECT_EQ(old, gPreview.image.Block()) << c.name;
        }
        if (c.text.empty()) {
            EXPECT_TRUE(boxes.messages.empty()) << c.name;
        } else {
            ASSERT_EQ(1u, boxes.messages.size()) << c.name;
            std::string expected = c.text;
            if (c.text != "ファイルのオープンに失敗しました")
                expected += dir.File(c.name) + ")\r\n";
            EXPECT_EQ(expected, boxes.messages[0].text) << c.name;
            EXPECT_EQ(c.caption, boxes.messages[0].caption) << c.name;
            EXPECT_EQ(c.flags, boxes.messages[0].flags) << c.name;
            EXPECT_EQ(gPreview.messageOwner, boxes.messages[0].owner) << c.name;
        }
        EXPECT_EQ(1, gHistory.modified) << c.name;
        EXPECT_EQ(2, ListRowCount()) << c.name;
    }
}

TEST_F(PreviewTest, OnlyTheExactEndingLoads) {
    CreateDirectoryA(dir.File("x.jpg").c_str(), NULL);
    WriteFileBytes(dir.File("x.jpg\\y.jpg"), ReadFileBytes(dir.File("quad.jpg")));
    LoadHistory(dir.Path(), { { "nested", dir.File("x.jpg\\y.jpg"), "" } });
    Show(0);
    EXPECT_TRUE(gPreview.image.Empty());
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(PreviewTest, AFileReplacedUnderTheSameNameIsReadAgain) {
    LoadHistory(dir.Path(), { { "quadrants", "\\quad.jpg", "" } });
    Show(0);
    ASSERT_EQ(300, gPreview.image.Width());
    ReloadPreview(); // unchanged: the shown picture stays
    EXPECT_EQ(300, gPreview.image.Width());
    WriteTestJpeg(dir.File("quad.jpg"), 120, 90, 3, Quadrants);
    ReloadPreview();
    EXPECT_EQ(120, gPreview.image.Width());
    EXPECT_EQ(90, gPreview.image.Height());
}

namespace {

const unsigned Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, White = 0xFFFFFF;

// One row of pixels, padded to four bytes.
std::string Row(std::string bytes) {
    bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
    return bytes;
}

std::string Bgr(unsigned rgb) {
    return Le32(rgb).substr(0, 3);
}

std::string Palette(std::initializer_list<unsigned> colours) {
    std::string table;
    for (unsigned c : colours)
        table += PaletteEntry(c);
    return table;
}

} // namespace

// Each file is two pixels by two, its colours spelled out byte by byte.
TEST_F(PreviewTest, EveryBmpDepthIsDrawn) {
    std::string masks565 = Le32(0xF800) + Le32(0x07E0) + Le32(0x001F);
    std::string rows565 = Row(Le16(0x001F) + Le16(0xFFFF)) + Row(Le16(0xF800) + Le16(0x0400));
    std::string palette16 = Palette({ 0, 0, Red, 0, 0, Green, 0, 0, 0, Blue, 0, 0, 0, 0, 0, White });
    struct {
        const char* name;
        BmpSpec file;
        unsigned topLeft, topRight, bottomLeft, bottomRight;
    } cases[] = {
        { "1 bit", { 1, 0, 2, 2, 2, Palette({ Red, White }), Row("\x80") + Row("\x40") }, Red, White, White, Red },
        { "4 bits", { 4, 0, 2, 2, 0, palette16, Row("\x9F") + Row("\x25") }, Red, Green, Blue, White },
        { "8 bits, an index past three colours", { 8, 0, 2, 2, 3, Palette({ Red, Green, Blue }),
                                                   Row("\x02\x03") + Row(std::string("\x00\x01", 2)) },
          Red, Green, Blue, 0x000000 },
        { "16 bits", { 16, 0, 2, 2, 0, "", Row(Le16(0x001F) + Le16(0x7FFF)) + Row(Le16(0x7C00) + Le16(0x03E0)) },
          Red, Green, Blue, White },
        { "16 bits, 5-6-5 fields", { 16, 3, 2, 2, 0, masks565, rows565 }, Red, 0x008200, Blue, White },
        { "16 bits, fields in a 108-byte header", { 16, 3, 2, 2, 0, "", rows565, 108, masks565 },
          Red, 0x008200, Blue, White },
        { "24 bits, rows further on", { 24, 0, 2, 2, 0, "", Row(Bgr(Blue) + Bgr(White)) + Row(Bgr(Red) + Bgr(Green)),
                                        40, "", 8 },
          Red, Green, Blue, White },
        { "32 bits", { 32, 0, 2, 2, 0, "", Le32(Blue) + Le32(White) + Le32(Red) + Le32(Green) },
          Red, Green, Blue, White },
        { "32 bits, red in the lowest byte", { 32, 3, 2, 2, 0, Le32(0xFF) + Le32(0xFF00) + Le32(0xFF0000),
                                               Le32(0xFF0000) + Le32(0xFFFFFF) + Le32(0xFF) + Le32(0xFF00) },
          Red, Green, Blue, White },
    };
    for (const auto& c : cases) {
        WriteFileBytes(dir.File("depth.bmp"), HandBmpBytes(c.file));
        LoadHistory(dir.Path(), { { "quadrants", "\\quad.jpg", "" }, { c.name, "\\depth.bmp", "" } });
        Show(0);
        Show(1);
        EXPECT_TRUE(boxes.messages.empty()) << c.name;
        ASSERT_EQ(2, gPreview.image.Width()) << c.name;
        EXPECT_EQ(2, gPreview.image.Height()) << c.name;
        PumpFor(50);
        struct { int x, y; unsigned colour; } points[] = {
            { 10, 10, c.topLeft }, { 11, 10, c.topRight }, { 10, 11, c.bottomLeft }, { 11, 11, c.bottomRight },
            { 12, 10, White },
        };
        for (const auto& p : points)
            EXPECT_TRUE(Near(p.colour, ScreenPixel(p.x, p.y)))
                << c.name << " at " << p.x << "," << p.y << ": " << std::hex << ScreenPixel(p.x, p.y);
    }
}

// A picture that could not be opened is not the row's: once the other
// program lets go of the file, the row shows its own picture.
TEST_F(PreviewTest, AFailedLoadNeverCountsAsShown) {
    WriteFileBytes(dir.File("held.bmp"), TestBmpBytes(40, 30, Quadrants));
    LoadHistory(dir.Path(), { { "quadrants", "\\quad.jpg", "" }, { "held", "\\held.bmp", "" } });
    Show(0);
    HANDLE other = CreateFileA(dir.File("held.bmp").c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    Show(1);
    CloseHandle(other);
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("ファイルのオープンに失敗しました", boxes.messages[0].text);
    EXPECT_EQ(300, gPreview.image.Width()) << "the previous picture stays while the message says why";
    // What the list asks for when an arrow key is pressed.
    PostMessageA(gShell.hwndMain, WM_REFRESH_PREVIEW, 0, 0);
    PumpFor(150);
    EXPECT_EQ(40, gPreview.image.Width());
    EXPECT_TRUE(Near(0xFF0000, ScreenPixel(10, 10)));
    EXPECT_TRUE(Near(0x0000FF, ScreenPixel(10, 10 + 29)));
}
