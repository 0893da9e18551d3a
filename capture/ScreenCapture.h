// One capture: grabs the foreground window or the primary screen into the
// capture context's bitmap, draws the mode's marking, and writes the next
// numbered image file.
#pragma once

#include <windows.h>

#include "capture/CaptureContext.h"

// Returns the capture kind (1 window, 2 screen) when a file was written, 0
// when the capture was refused before writing, -1 when writing failed.
// `owner` owns the message boxes and is the reference for the pixel format.
int CaptureImage(CaptureContext& ctx, HWND owner, int mode);

// The screen a grab of `kind` is measured against: the primary screen for
// whole-screen grabs, the virtual screen (all monitors) for window grabs.
ScreenArea CaptureScreenArea(int kind);
// Width and height of the last grab's image, from its rectangle.
void CapturedImageSize(const CaptureContext& ctx, int* width, int* height);

// Seams for tests.  The window as the desktop window manager draws it,
// without the invisible resize borders (false when it gives no bounds);
// NULL restores the real one.
typedef bool (*FrameBoundsHook)(HWND window, RECT* bounds);
void SetFrameBoundsHook(FrameBoundsHook hook);
// The virtual screen's rectangle; NULL restores the system metrics.
typedef ScreenArea (*VirtualScreenHook)();
void SetVirtualScreenHook(VirtualScreenHook hook);
