// Display scaling.  Every size the program gives in pixels is a size at
// 96 DPI (100 %); a window shows it multiplied by its monitor's DPI / 96.
// What is stored (font heights, list column widths) stays a 96-DPI value,
// so a settings file moves between displays unchanged.  The window
// placement is the exception: Windows reports it in physical pixels.
#pragma once

#include <windows.h>

enum { BaseDpi = 96 };

// The DPI of the monitor that shows `hwnd`: GetDpiForWindow where user32
// has it (Windows 10 1607 and later), else the screen's LOGPIXELSY.
int WindowDpi(HWND hwnd);
// The screen's LOGPIXELSY: the DPI the session started at.
int ScreenDpi();
// A 96-DPI size at `dpi` (MulDiv, rounded; 0 stays 0).
int ScaleForDpi(int size, int dpi);
// A size shown at `dpi` back at 96 DPI, as it is stored.
int UnscaleForDpi(int size, int dpi);
// A system metric at `dpi`: GetSystemMetricsForDpi where user32 has it,
// else GetSystemMetrics (which answers for the DPI the session started at).
int MetricForDpi(int index, int dpi);

// The program's small pictures (toolbar, key panel) are drawn at 16, 24
// and 32 pixels: the size to show for a 16-pixel picture at `dpi` is the
// smallest drawn one not smaller than the scaled size, else the largest.
enum { SmallPictureSizeCount = 3 };
extern const int SmallPictureSizes[SmallPictureSizeCount];
int SmallPictureSize(int dpi);
