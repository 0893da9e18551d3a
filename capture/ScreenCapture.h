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
