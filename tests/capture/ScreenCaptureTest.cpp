// Captures of real windows and of the screen under Wine, on a 1024 x 768
// display: sizes, pixels, black bands and the three markings; windows on
// other monitors and without invisible borders through the seams that stand
// in for the system.  The markings' sizes follow the display's DPI: these
// tests also run in a prefix at 144 DPI.
#include "capture/ScreenCapture.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>

#include "base/ByteString.h"
#include "capture/ImageFiles.h"
#include "capture/Markings.h"
#include "history/HistoryFile.h"
#include "settings/Settings.h"
#include "tests/capture/CaptureTestSupport.h"
#include "tests/support/GuiTestSupport.h"

namespace {

const int ScreenWidth = 1024, ScreenHeight = 768;

class ScreenCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ScreenWidth, GetSystemMetrics(SM_CXSCREEN));
        ASSERT_EQ(ScreenHeight, GetSystemMetrics(SM_CYSCREEN));
        ResetCaptureState(dir.Path());
        SetCursorPos(ScreenWidth - 1, ScreenHeight - 1);
    }
    void TearDown() override {
        ResetCaptureContext(gCapture);
        SetFrameBoundsHook(NULL);
        SetVirtualScreenHook(NULL);
    }

    int Capture(int mode) { return CaptureImage(gCapture, NULL, mode); }
    Image LastImage() { return ReadBmpFile(gCapture.imageFilePath); }
    void MoveCursor(int x, int y) {
        SetCursorPos(x, y);
        PumpMessages(20);
    }

    TempDir dir;
    MessageBoxRecorder boxes;
};

RECT Area(int left, int top, int right, int bottom) {
    RECT r = { left, top, right, bottom };
    return r;
}

RECT Whole(const Image& img) {
    return Area(0, 0, img.width, img.height);
}

// A cursor picture's side on this display: 20 pixels at 96 DPI.
int PictureSize() {
    return ScaleToDpi(CursorPictureSize, ScreenDpi());
}

// Red pixels of the image that lie further than `slack` from the outline of
// `frame`, and the number of red pixels in all.
void RedPixels(const Image& img, RECT frame, int slack, int* stray, int* all) {
    *stray = 0;
    *all = 0;
    for (int y = 0; y < img.height; y++) {
        for (int x = 0; x < img.width; x++) {
            if (!IsPureRed(img.At(x, y)))
                continue;
            (*all)++;
            bool nearVertical = (abs(x - frame.left) <= slack || abs(x - frame.right) <= slack) &&
                                y >= frame.top - slack && y <= frame.bottom + slack;
            bool nearHorizontal = (abs(y - frame.top) <= slack || abs(y - frame.bottom) <= slack) &&
                                  x >= frame.left - slack && x <= frame.right + slack;
            if (!nearVertical && !nearHorizontal)
                (*stray)++;
        }
    }
}

} // namespace

// --- whole screen and active window ------------------------------------------

TEST_F(ScreenCaptureTest, WholeScreenShowsTheScreen) {
    PatternWindow window(100, 80, 300, 200);
    window.BringToFront();
    EXPECT_EQ(CaptureKindScreen, Capture(WholeScreen));
    EXPECT_EQ(dir.File("a1.bmp"), gCapture.imageFilePath);
    EXPECT_EQ(2, gCapture.nextNumber);
    EXPECT_STREQ("SCREEN", gCapture.windowTitle);
    EXPECT_STREQ("SCREEN", DefaultComment(gCapture, gSettings));
    Image img = LastImage();
    ASSERT_EQ(ScreenWidth, img.width);
    ASSERT_EQ(ScreenHeight, img.height);
    EXPECT_EQ(0, PatternMismatches(img, 100, 80, Area(100, 80, 400, 280)));
    EXPECT_EQ(0, gCapture.captureRect.left);
    EXPECT_EQ(ScreenWidth, gCapture.captureRect.right);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(ScreenCaptureTest, ActiveWindowIsTheForegroundWindow) {
    PatternWindow other(600, 400, 200, 100);
    PatternWindow window(200, 150, 320, 240, WS_POPUP, "表示ソフト");
    window.BringToFront();
    EXPECT_EQ(CaptureKindWindow, Capture(ActiveWindow));
    Image img = LastImage();
    ASSERT_EQ(320, img.width);
    ASSERT_EQ(240, img.height);
    EXPECT_EQ(0, PatternMismatches(img, 0, 0, Whole(img)));
    EXPECT_STREQ("表示ソフト", gCapture.windowTitle);
    EXPECT_STREQ("表示ソフト", DefaultComment(gCapture, gSettings));
    gSettings.useFixedComment = 1;
    CopyText(gSettings.fixedComment, countof(gSettings.fixedComment), "固定");
    EXPECT_STREQ("固定", DefaultComment(gCapture, gSettings));
    EXPECT_EQ(200, gCapture.captureRect.left);
    EXPECT_EQ(390, gCapture.captureRect.bottom);
}

TEST_F(ScreenCaptureTest, JpegCaptureOfTheScreen) {
    PatternWindow window(0, 0, ScreenWidth, ScreenHeight);
    window.BringToFront();
    gCapture.imageFormat = ImageJpeg;
    gCapture.jpegQuality = 90;
    EXPECT_EQ(CaptureKindScreen, Capture(WholeScreen));
    EXPECT_EQ(dir.File("a1.jpg"), gCapture.imageFilePath);
    Image decoded = ReadJpegFile(gCapture.imageFilePath);
    ASSERT_EQ(ScreenWidth, decoded.width);
    ASSERT_EQ(ScreenHeight, decoded.height);
    // The pattern changes colour at every pixel, the hardest case for JPEG's
    // colour subsampling; a swapped or shifted image would be stray below.
    EXPECT_GE(Psnr(decoded, ScreenImage(0, 0, ScreenWidth, ScreenHeight)), 22.0);
}

static ScreenArea gVirtualScreen;

static ScreenArea VirtualScreen() {
    return gVirtualScreen;
}

TEST_F(ScreenCaptureTest, WindowsHangingOffTheScreen) {
    // This display has one monitor; the seam can put a second one of the
    // same size left or right of it.  Nothing shows there on this display:
    // what the image takes from it stays black.
    const ScreenArea left = { -ScreenWidth, 0, 2 * ScreenWidth, ScreenHeight };
    const ScreenArea right = { 0, 0, 2 * ScreenWidth, ScreenHeight };
    struct {
        const char* name;
        const ScreenArea* monitors; // the virtual screen; NULL: this display's
        int x, y, w, h;
        int keep;
        int width, height; // of the image
        int dx, dy;        // image (x, y) shows pattern (x - dx, y - dy)
        RECT pattern;      // where the image shows the pattern; the rest is black
    } rows[] = {
        { "50 off the left, cut", NULL, -50, 100, 300, 200, 0, 250, 200, -50, 0, { 0, 0, 250, 200 } },
        { "50 off the left, keep", NULL, -50, 100, 300, 200, 1, 300, 200, 0, 0, { 50, 0, 300, 200 } },
        { "off the right, cut", NULL, 900, 100, 200, 200, 0, 124, 200, 0, 0, { 0, 0, 124, 200 } },
        { "off the right, keep", NULL, 900, 100, 200, 200, 1, 200, 200, 0, 0, { 0, 0, 124, 200 } },
        { "off the top, cut", NULL, 300, -30, 200, 100, 0, 200, 70, 0, -30, { 0, 0, 200, 70 } },
        { "off the bottom, keep", NULL, 300, 700, 200, 100, 1, 200, 100, 0, 0, { 0, 0, 200, 68 } },
        { "4 beyond every edge, cut", NULL, -4, -4, 1032, 776, 0, 1024, 768, -4, -4, { 0, 0, 1024, 768 } },
        { "4 beyond every edge, keep", NULL, -4, -4, 1032, 776, 1, 1032, 776, 0, 0, { 4, 4, 1028, 772 } },
        { "across the left monitor's edge, cut", &left, -50, 100, 300, 200, 0, 300, 200, 0, 0, { 50, 0, 300, 200 } },
        { "across the right monitor's edge, cut", &right, 900, 100, 200, 200, 0, 200, 200, 0, 0, { 0, 0, 124, 200 } },
        { "wholly on the right monitor, cut", &right, 1100, 100, 200, 100, 0, 200, 100, 0, 0, { 0, 0, 0, 0 } },
        { "beyond the right monitor, keep", &right, 2000, 100, 100, 100, 1, 100, 100, 0, 0, { 0, 0, 0, 0 } },
        { "beyond the right monitor, cut", &right, 2000, 100, 100, 100, 0, 48, 100, 0, 0, { 0, 0, 0, 0 } },
    };
    for (auto& r : rows) {
        if (r.monitors)
            gVirtualScreen = *r.monitors;
        SetVirtualScreenHook(r.monitors ? VirtualScreen : NULL);
        PatternWindow window(r.x, r.y, r.w, r.h);
        window.BringToFront();
        gSettings.keepOffscreen = r.keep;
        ASSERT_EQ(CaptureKindWindow, Capture(ActiveWindow)) << r.name;
        Image img = LastImage();
        ASSERT_EQ(r.width, img.width) << r.name;
        ASSERT_EQ(r.height, img.height) << r.name;
        EXPECT_EQ(0, PatternMismatches(img, r.dx, r.dy, r.pattern)) << r.name;
        int pixelsOutside = img.width * img.height -
                            (r.pattern.right - r.pattern.left) * (r.pattern.bottom - r.pattern.top);
        EXPECT_EQ(pixelsOutside, CountColour(img, 0x000000, Whole(img))) << r.name;
    }
    EXPECT_TRUE(boxes.messages.empty());
    // Whole-screen captures keep the primary screen.
    ASSERT_EQ(CaptureKindScreen, Capture(WholeScreen));
    EXPECT_EQ(ScreenWidth, LastImage().width);
}

TEST_F(ScreenCaptureTest, WindowWhollyOffTheScreenInCutModeIsNotWritten) {
    PatternWindow window(1100, 100, 200, 100);
    window.BringToFront();
    gSettings.keepOffscreen = 0;
    EXPECT_EQ(-1, Capture(ActiveWindow));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("スクリーンキャプチャが行われていません", boxes.messages[0].text);
    EXPECT_FALSE(PathExists(dir.File("a1.bmp")));
    EXPECT_EQ(2, gCapture.nextNumber) << "the number advances after a failed write";
}

TEST_F(ScreenCaptureTest, InvalidOffscreenSettingRefusesWindowCaptures) {
    PatternWindow window(100, 100, 200, 100);
    window.BringToFront();
    gSettings.keepOffscreen = 2;
    EXPECT_EQ(0, Capture(ActiveWindowFrame));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("アクティブウィンドウキャプチャーでスクリーン外の扱いの値が不正です。", boxes.messages[0].text);
    EXPECT_EQ("定義設定エラー", boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), boxes.messages[0].flags);
    EXPECT_FALSE(PathExists(dir.File("a1.bmp")));
    EXPECT_EQ(1, gCapture.nextNumber);
    EXPECT_NE(nullptr, gCapture.bitmap);
    // Whole-screen captures do not depend on it.
    EXPECT_EQ(CaptureKindScreen, Capture(WholeScreen));
}

TEST_F(ScreenCaptureTest, HistoryFolderWithoutHistoryFileRefuses) {
    gSettings.imageFolderMode = 1;
    EXPECT_EQ(0, Capture(WholeScreen));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("キャプチャファイルの保存先が履歴と同じに設定されています。\n『ファイルを開く』か『名前を付けて保存』で"
              "履歴ファイル名を決めてからキャプチャーを開始してください。",
              boxes.messages[0].text);
    EXPECT_EQ(dir.Path(), boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), boxes.messages[0].flags);

    ASSERT_TRUE(CreateDirectoryA(dir.File("hist").c_str(), NULL));
    BindHistoryFile(gHistory, dir.File("hist\\h.csv").c_str(), "h.csv");
    gHistory.untitled = 0;
    EXPECT_EQ(CaptureKindScreen, Capture(WholeScreen));
    EXPECT_EQ(dir.File("hist\\a1.bmp"), gCapture.imageFilePath);
    EXPECT_TRUE(PathExists(dir.File("hist\\a1.bmp")));
}

TEST_F(ScreenCaptureTest, DeclinedOverwriteThenNumbersWrapToZero) {
    gSettings.maxImageNumber = 5;
    gSettings.nextImageNumber = 5;
    gCapture.nextNumber = 5;
    gCapture.confirmOverwrite = 1;
    ASSERT_TRUE(WriteFileBytes(dir.File("a5.bmp"), "old"));
    boxes.QueueAnswer(IDCANCEL);
    EXPECT_EQ(-1, Capture(WholeScreen));
    EXPECT_EQ("old", ReadFileBytes(dir.File("a5.bmp")));
    EXPECT_EQ(6, gCapture.nextNumber);
    // The stored number is still 5: the guard lets the next capture through,
    // and the number past the maximum wraps to 0.
    EXPECT_EQ(CaptureKindScreen, Capture(WholeScreen));
    EXPECT_EQ(dir.File("a0.bmp"), gCapture.imageFilePath);
    EXPECT_EQ(1, gCapture.nextNumber);
}

TEST_F(ScreenCaptureTest, ExhaustedNumbersGrabNothing) {
    gSettings.maxImageNumber = 5;
    gSettings.nextImageNumber = 6;
    HBITMAP before = gCapture.bitmap;
    EXPECT_EQ(0, Capture(WholeScreen));
    EXPECT_EQ(before, gCapture.bitmap);
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("開始番号が最大番号を超えています", boxes.messages[0].text);
}

// --- the red frame ---------------------------------------------------------------

// Windows 10 and 11 report window rectangles with invisible resize borders,
// 7 pixels wide on the left, right and bottom at 100 %; the desktop window
// manager gives the bounds without them.
static bool BoundsWithoutBorders(HWND window, RECT* bounds) {
    GetWindowRect(window, bounds);
    bounds->left += 7;
    bounds->right -= 7;
    bounds->bottom -= 7;
    return true;
}

// A 400 x 300 window with a button (or none), the cursor on the button's
// centre (or at client (200, 150)).  The frame lies on the outline in image
// coordinates, its pen 2 pixels wide at 96 DPI and 3 at 144.
TEST_F(ScreenCaptureTest, FrameGoesRoundWhatIsUnderTheCursor) {
    const int dpi = ScreenDpi();
    const char* wanted = getenv("GYROLENS_DPI");
    ASSERT_EQ(wanted ? atoi(wanted) : 96, dpi) << "the Wine prefix does not show the DPI it was made for";
    struct {
        const char* name;
        int x;
        RECT button; // empty: none
        int mode;
        bool dwm;    // the bounds come from the desktop window manager
        int width;   // of the image
        RECT frame;
        int red;     // fewer red pixels than this: no frame
    } rows[] = {
        { "the button", 100, { 40, 30, 140, 60 }, ActiveWindowFrame, false, 400, { 40, 30, 140, 60 }, 300 },
        { "the window: no control there", 100, {}, ActiveWindowFrame, false, 400, { 0, 0, 400, 300 }, 700 },
        { "cut: drawn relative to the window", -30, { 100, 50, 180, 90 }, ActiveWindowFrame, false, 370,
          { 100, 50, 180, 90 }, 200 },
        { "the screen: the top-level window", 100, { 40, 30, 140, 60 }, WholeScreenFrame, false, ScreenWidth,
          { 100, 100, 500, 400 }, 1000 },
        { "the bounds without invisible borders", 100, { 40, 30, 140, 60 }, ActiveWindowFrame, true, 386,
          { 33, 30, 133, 60 }, 300 },
    };
    gSettings.keepOffscreen = 0;
    for (const auto& r : rows) {
        PatternWindow window(r.x, 100, 400, 300);
        bool button = r.button.right > 0;
        if (button)
            window.AddButton(r.button.left, r.button.top, r.button.right - r.button.left,
                             r.button.bottom - r.button.top);
        window.BringToFront();
        SetFrameBoundsHook(r.dwm ? BoundsWithoutBorders : NULL);
        MoveCursor(r.x + (button ? (r.button.left + r.button.right) / 2 : 200),
                   100 + (button ? (r.button.top + r.button.bottom) / 2 : 150));
        ASSERT_EQ(IsWindowMode(r.mode) ? CaptureKindWindow : CaptureKindScreen, Capture(r.mode)) << r.name;
        Image img = LastImage();
        ASSERT_EQ(r.width, img.width) << r.name;
        int stray, all;
        RedPixels(img, r.frame, 1, &stray, &all);
        EXPECT_GT(all, r.red) << r.name;
        EXPECT_EQ(0, stray) << r.name;
        // Across the top and left edges, unless the image's edge cuts the pen.
        int top = 0, left = 0, midX = (r.frame.left + r.frame.right) / 2, midY = (r.frame.top + r.frame.bottom) / 2;
        for (int i = -10; i <= 10 && r.frame.top > 10; i++) {
            top += IsPureRed(img.At(midX, r.frame.top + i));
            left += IsPureRed(img.At(r.frame.left + i, midY));
        }
        EXPECT_EQ(r.frame.top > 10 ? ScaleToDpi(2, dpi) : 0, top) << r.name;
        EXPECT_EQ(r.frame.top > 10 ? ScaleToDpi(2, dpi) : 0, left) << r.name;
        if (r.dwm) {
            // Image x shows window x + 7.
            RECT bounds = Area(107, 100, 493, 393);
            EXPECT_TRUE(EqualRect(&bounds, &gCapture.captureRect));
            ASSERT_EQ(293, img.height);
            EXPECT_EQ(0, PatternMismatches(img, -7, 0, Area(0, 70, 386, 293)));
        }
    }
}

// The cursor over another window: no frame and no cursor picture.
TEST_F(ScreenCaptureTest, NoMarkingOverAWindowThatIsNotTheForegroundOne) {
    PatternWindow other(600, 100, 200, 200, WS_POPUP, "other");
    PatternWindow window(100, 100, 300, 200);
    window.BringToFront();
    MoveCursor(700, 200);
    for (int mode : { ActiveWindowFrame, ActiveWindowCursor }) {
        ASSERT_EQ(CaptureKindWindow, Capture(mode));
        Image img = LastImage();
        EXPECT_EQ(0, PatternMismatches(img, 0, 0, Whole(img))) << "mode " << mode;
    }
}

TEST_F(ScreenCaptureTest, FindChildAtPointTakesTheFirstVisibleChild) {
    PatternWindow window(100, 100, 400, 300);
    HWND button = window.AddButton(40, 30, 100, 30);
    POINT inside = { 100 + 60, 100 + 40 }, edge = { 100 + 140, 100 + 60 }, outside = { 100 + 200, 100 + 200 };
    EXPECT_EQ(button, FindChildAtPoint(window.Handle(), inside));
    EXPECT_EQ(button, FindChildAtPoint(window.Handle(), edge)) << "edges are included";
    EXPECT_EQ(nullptr, FindChildAtPoint(window.Handle(), outside));
    ShowWindow(button, SW_HIDE);
    EXPECT_EQ(nullptr, FindChildAtPoint(window.Handle(), inside));
}

// --- cursor pictures ---------------------------------------------------------------

TEST_F(ScreenCaptureTest, CursorPictureAtTheCursorWithWhiteTransparent) {
    PatternWindow window(0, 0, 400, 400);
    window.BringToFront();
    gSettings.hotkeys[WholeScreenCursor - FirstCaptureMode].choice = 2; // black arrow
    MoveCursor(100, 100);
    EXPECT_EQ(CaptureKindScreen, Capture(WholeScreenCursor));
    Image img = LastImage();
    // Only the square of the picture's size from the cursor point changes
    // (20 x 20 at 96 DPI, 30 x 30 at 144)...
    const int n = PictureSize(), end = 100 + n;
    EXPECT_EQ(0, PatternMismatches(img, 0, 0, Area(0, 0, 400, 100)));
    EXPECT_EQ(0, PatternMismatches(img, 0, 0, Area(0, end, 400, 400)));
    EXPECT_EQ(0, PatternMismatches(img, 0, 0, Area(0, 100, 100, end)));
    EXPECT_EQ(0, PatternMismatches(img, 0, 0, Area(end, 100, 400, end)));
    // ...and fills it: the arrow reaches into its last tenth...
    EXPECT_GT(CountColour(img, 0x000000, Area(100, 100, end, end)), n);
    EXPECT_GT(PatternMismatches(img, 0, 0, Area(100, end - n / 10 - 1, end, end)), 0);
    // ...where the arrow is black, and the white ground shows the screen.
    EXPECT_EQ(0, PatternMismatches(img, 0, 0, Area(end - 3 * n / 10, 100, end, 100 + 3 * n / 10)));
}

TEST_F(ScreenCaptureTest, EachChoiceDrawsItsOwnPicture) {
    PatternWindow window(0, 0, 400, 400);
    window.BringToFront();
    MoveCursor(200, 200);
    struct { int choice; uint32_t colour; } rows[] = { { 0, 0xFF0000 }, { 1, 0xFF0000 }, { 2, 0x000000 }, { 3, 0xFF0000 } };
    for (auto& r : rows) {
        gSettings.hotkeys[WholeScreenCursor - FirstCaptureMode].choice = r.choice;
        ASSERT_EQ(CaptureKindScreen, Capture(WholeScreenCursor));
        Image img = LastImage();
        EXPECT_GT(CountColour(img, r.colour, Area(200, 200, 200 + PictureSize(), 200 + PictureSize())), 10)
            << "choice " << r.choice;
        EXPECT_EQ(0, PatternMismatches(img, 0, 0, Area(0, 0, 400, 200))) << "choice " << r.choice;
    }
}

TEST_F(ScreenCaptureTest, WindowCursorPictureIsPlacedWithTheFrameOffsets) {
    PatternWindow window(100, 100, 300, 200);
    window.BringToFront();
    gSettings.hotkeys[ActiveWindowCursor - FirstCaptureMode].choice = 2;
    MoveCursor(150, 130);
    POINT at;
    ASSERT_TRUE(WindowImagePoint(window.Handle(), { 150, 130 }, &at));
    // A window without frame or menu is lower than the height the offsets
    // assume, which counts as one menu row.
    EXPECT_EQ(50 + GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXDLGFRAME), at.x);
    EXPECT_EQ(30 + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYDLGFRAME) +
                  GetSystemMetrics(SM_CYMENU),
              at.y);
    EXPECT_EQ(CaptureKindWindow, Capture(ActiveWindowCursor));
    Image img = LastImage();
    RECT square = Area(at.x, at.y, at.x + PictureSize(), at.y + PictureSize());
    EXPECT_GT(CountColour(img, 0x000000, square), 20);
    int outside = PatternMismatches(img, 0, 0, Whole(img)) - PatternMismatches(img, 0, 0, square);
    EXPECT_EQ(0, outside);
}

TEST_F(ScreenCaptureTest, CursorAtLeftEdgeMarksOnlyScreenCaptures) {
    PatternWindow window(0, 100, 300, 200);
    window.BringToFront();
    gSettings.hotkeys[ActiveWindowCursor - FirstCaptureMode].choice = 2;
    gSettings.hotkeys[WholeScreenCursor - FirstCaptureMode].choice = 2;
    MoveCursor(0, 150);
    for (int mode : { ActiveWindowFrame, ActiveWindowCursor, ActiveWindowGlobalCursor }) {
        ASSERT_EQ(CaptureKindWindow, Capture(mode));
        Image img = LastImage();
        EXPECT_EQ(0, PatternMismatches(img, 0, 0, Whole(img))) << "mode " << mode;
    }
    EXPECT_EQ(CaptureKindScreen, Capture(WholeScreenCursor));
    Image img = LastImage();
    EXPECT_GT(CountColour(img, 0x000000, Area(0, 150, PictureSize(), 150 + PictureSize())), 20);
}

// --- the real cursor ----------------------------------------------------------------

TEST_F(ScreenCaptureTest, RealCursorIsDrawnAtItsHotspot) {
    PatternWindow window(0, 0, 600, 600);
    window.BringToFront();
    MoveCursor(300, 300);
    HCURSOR arrow = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    SetCursor(arrow);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(arrow, &info));
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    int left = 300 - (int)info.xHotspot, top = 300 - (int)info.yHotspot;
    int size = GetSystemMetrics(SM_CXCURSOR);

    EXPECT_EQ(CaptureKindScreen, Capture(WholeScreenGlobalCursor));
    Image img = LastImage();
    RECT cursorArea = Area(left, top, left + size, top + size);
    EXPECT_GT(PatternMismatches(img, 0, 0, cursorArea), 20);
    EXPECT_EQ(PatternMismatches(img, 0, 0, Area(0, 0, 600, 600)), PatternMismatches(img, 0, 0, cursorArea));

    EXPECT_EQ(CaptureKindWindow, Capture(ActiveWindowGlobalCursor));
    Image windowImg = LastImage();
    POINT at;
    ASSERT_TRUE(WindowImagePoint(window.Handle(), { left, top }, &at));
    RECT shifted = Area(at.x, at.y, at.x + size, at.y + size);
    EXPECT_GT(PatternMismatches(windowImg, 0, 0, shifted), 20);
    EXPECT_EQ(PatternMismatches(windowImg, 0, 0, Whole(windowImg)), PatternMismatches(windowImg, 0, 0, shifted));
}
