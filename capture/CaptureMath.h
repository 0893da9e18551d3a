// Capture arithmetic that needs no Win32: the capture modes, the hotkey
// modifier mapping, the size of a grabbed image and which parts of the
// screen it copies, image file names and numbers, the 24-bit BMP headers,
// the menu allowance used to place markings in a window capture, and the
// markings' sizes at the captured monitor's DPI.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The eight capture modes; the value is also the hotkey identifier.  Even
// values grab the foreground window, odd values the primary screen.
enum CaptureMode {
    ActiveWindow = 102,
    WholeScreen = 103,
    ActiveWindowFrame = 104,
    WholeScreenFrame = 105,
    ActiveWindowCursor = 106,
    WholeScreenCursor = 107,
    ActiveWindowGlobalCursor = 108,
    WholeScreenGlobalCursor = 109,
};

enum {
    FirstCaptureMode = ActiveWindow,
    CaptureModeCount = 8,
    CaptureKindWindow = 1,
    CaptureKindScreen = 2,
};

inline bool IsCaptureMode(int id) {
    return id >= FirstCaptureMode && id < FirstCaptureMode + CaptureModeCount;
}
inline bool IsWindowMode(int mode) {
    return mode % 2 == 0;
}

// Modifier bits as a hotkey control reports them (1 Shift, 2 Ctrl, 4 Alt)
// mapped to RegisterHotKey's (MOD_SHIFT 4, MOD_CONTROL 2, MOD_ALT 1);
// 8 and above are dropped.
unsigned MapHotkeyModifiers(int stored);

struct CaptureRect {
    int32_t left, top, right, bottom;
};

// The screen a grab is measured against, in screen coordinates.  Whole-screen
// grabs take the primary screen, at (0, 0).  Window grabs take the virtual
// screen, the union of all monitors: its left or top is negative when a
// monitor lies left of or above the primary one, and on one monitor it is
// the primary screen.
struct ScreenArea {
    int32_t left, top, width, height;
};

// Width and height of the image grabbed for `rect`.  A whole-screen grab is
// the screen; a window kept on black is its whole rectangle; a window cut at
// the screen edges is the part of its rectangle on the screen (negative when
// none of it is).
void CaptureImageSize(int kind, const CaptureRect& rect, int keepOffscreen, const ScreenArea& screen, int* width,
                      int* height);

// One copy of a window grab: `width` x `height` pixels from screen point
// (sourceX, sourceY) to image point (imageX, imageY).
struct ScreenCopy {
    int sourceX, sourceY, imageX, imageY, width, height;
};
// The part of the window rectangle that lies on `monitor` (one monitor of
// the screen) and where it goes in the image: a window cut at the screen's
// edges has its image start where it meets the screen, a window kept on
// black at its own corner.  False when no part of the window is on that
// monitor.  Copying monitor by monitor never asks the display for pixels
// that no monitor shows: where monitors of different sizes leave a gap in
// the virtual screen, the image stays black.
bool WindowScreenCopy(const CaptureRect& rect, const ScreenArea& screen, const ScreenArea& monitor, int keepOffscreen,
                      ScreenCopy* copy);
// The strips of a window kept on black that lie beyond the screen's edges,
// in image coordinates: left, right, top and bottom, the ones that exist.
// Returns how many were stored.
int OffscreenBands(const CaptureRect& rect, const ScreenArea& screen, CaptureRect bands[4]);
// A window capture marks nothing for a cursor on the screen's left column
// or top row.
bool CursorMarksWindow(const ScreenArea& screen, int x, int y);

// Bytes of one 24-bit row, padded to a multiple of 4; in 64 bits, so that a
// huge width cannot wrap round to a small row.
uint64_t BmpStride(int width);
enum { BmpHeaderSize = 54, BmpInfoHeaderOffset = 14 };
// The 14-byte file header and the 40-byte information header of a 24-bit
// bottom-up BMP without colour table.  False when the image is too large
// for the format's 32-bit sizes.
bool BuildBmpHeaders(unsigned char out[BmpHeaderSize], int width, int height);

// The format captures are written in, chosen by the stored "JPEGモード":
// 1 JPEG, 2 PNG, any other value BMP (as an older version read 2).
enum ImageFormat { ImageBmp = 0, ImageJpeg = 1, ImagePng = 2 };
ImageFormat ImageFormatOf(int jpegMode);
// Lossless formats keep the grabbed pixels exactly.
inline bool IsLosslessFormat(ImageFormat format) {
    return format != ImageJpeg;
}

// "<folder>\<prefix><number>.jpg" (.bmp, .png by the format; six
// zero-padded digits when zeroPad).  False, with out empty, when the name
// does not fit.
bool BuildImageFileName(char* out, size_t outSize, const char* folder, const char* prefix, int number,
                        bool zeroPad, ImageFormat format);

// The number after `number`: 0 once it has passed the maximum.
int NumberAfter(int number, int maxNumber);

// Extra height of a window's menu rows, from the window height and the
// height it would have without a menu.
int MenuAllowance(int windowHeight, int heightWithoutMenu, int menuRowHeight);

// A 96-DPI size at another DPI, rounded to the nearest pixel; never below 1.
int ScaleToDpi(int size, int dpi);

// The strips of cursor pictures: four square cells each, drawn at these
// cell sizes (30 is the 96-DPI picture's source; the others are drawn for
// 175, 200, 225, 250 and 300 % scaling).
enum { CursorStripCount = 6 };
extern const int CursorStripCells[CursorStripCount];
// The strip drawn for a picture of `size` pixels: the smallest cell not
// smaller than it, shrunk when larger; the largest when none is as large.
int CursorStripFor(int size);
