// Test bench for captures: windows painted with a known pattern, the screen
// as the capture sees it, and decoders for the files the writers produce.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

// The colour every pattern window shows at client pixel (x, y).  Never
// black, white or pure red, so markings and black bands stand out.
COLORREF PatternColor(int x, int y);

// Runs the message loop for `ms` milliseconds.
inline void PumpMessages(int ms) {
    PumpFor(ms);
}

// 0x00RRGGBB pixels of a width x height picture, top row first.
std::vector<uint32_t> Pixels(int width, int height, COLORREF (*colour)(int, int));
// Paints a picture over the client area of a window (its WM_PAINT).
void PaintPicture(HWND hwnd, COLORREF (*colour)(int, int));

// A top-level window of a class of its own (registered on first use).
HWND CreateTestWindow(const char* className, WNDPROC proc, DWORD style, int x, int y, int width, int height,
                      const char* title);

// Settings, history and capture state of a fresh start with images going
// to `folder` as "<prefix><number>.bmp".
void ResetCaptureState(const std::string& folder, const char* prefix = "a");

// A top-level window whose client area shows the pattern.
class PatternWindow {
public:
    // style WS_POPUP gives a window without frame: window = client area.
    PatternWindow(int x, int y, int width, int height, DWORD style = WS_POPUP, const char* title = "pattern");
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;

    HWND Handle() const { return hwnd; }
    // A push button at (x, y) of the client area.
    HWND AddButton(int x, int y, int width, int height);
    // Makes it the foreground window and waits until the screen shows it.
    void BringToFront();
    RECT WindowRect() const;

private:
    HWND hwnd;
};

// A decoded image, top row first, as 0x00RRGGBB values.
typedef ScreenPicture Image;

uint32_t Rgb(COLORREF c);
// Reads a 24-bit bottom-up BMP as written by the capture; empty on error.
Image ReadBmpFile(const std::string& path);
// Decodes a JPEG with libjpeg; empty on error.
Image ReadJpegFile(const std::string& path);
// The screen as it is now, through the display context.
Image ScreenImage(int x, int y, int width, int height);
// Peak signal-to-noise ratio over all channels, in dB (1e9 when equal).
double Psnr(const Image& a, const Image& b);

// Number of pixels of `img` in the rectangle that differ from the pattern
// shifted so that image pixel (x, y) shows pattern pixel (x - dx, y - dy).
int PatternMismatches(const Image& img, int dx, int dy, RECT area);
bool IsPureRed(uint32_t px);
int CountColour(const Image& img, uint32_t rgb, RECT area);

// Runs xdotool on the X display with the given arguments (keys, mouse).
bool XdotoolOnDisplay(const std::string& arguments);
// Presses a key combination on the X display, e.g. "shift+i".
bool PressKeysOnDisplay(const char* keys);
