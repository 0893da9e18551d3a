// Markings drawn into a grabbed image at the mouse cursor: a red frame round
// the window or control under it, one of four built-in cursor pictures, or
// the real cursor of the moment.  The frame's pen and the pictures are
// given in 96-DPI pixels and drawn at the DPI of the monitor captured, so
// that they look as large as the real cursor there.
#pragma once

#include <windows.h>

#include "capture/CaptureMath.h"

enum MarkingKind { MarkWindow, MarkScreen };

enum {
    CursorPictureCount = 4,
    CursorPictureSize = 20, // as drawn at 96 DPI
    SelectionPenWidth = 2,  // at 96 DPI
};

// The bitmap resources of the cursor picture strips, in the order of
// CursorStripCells.
extern const int CursorStripIds[CursorStripCount];

// Red frame round the window (screen kind) or the deepest child window
// (window kind) under `point`; in window kind only when the window under the
// cursor is the foreground window.
void DrawSelectionFrame(HDC target, POINT point, MarkingKind kind, int dpi);
// The frame for `point`, relative to the top-level window's rectangle in
// window kind, in screen coordinates in screen kind.  False when no window
// yields one.
bool FindFrameRect(POINT point, MarkingKind kind, RECT* frame);
// First visible child of `parent`, in Z order, whose rectangle holds
// `point` (edges included); NULL when none.
HWND FindChildAtPoint(HWND parent, POINT point);

// Cursor picture `choice` (0-3), 20 x 20 at 96 DPI, at the cursor.
void DrawCursorImage(HDC target, POINT point, MarkingKind kind, HWND captured, int choice, int dpi);
// Draws cell `choice` of a strip of `cell`-pixel cells at (x, y), scaled
// to `size` x `size`, white being transparent.
void BlendCursorPicture(HDC target, int x, int y, int size, HBITMAP strip, int cell, int choice);
// The cursor shape that is showing on the screen, at the cursor.
void DrawSystemCursor(HDC target, POINT point, MarkingKind kind, HWND captured);

// Where a point of the screen lands in a window capture: client coordinates
// moved by the window's frame and menu rows.  False when that point is
// outside the window's client rectangle.
bool WindowImagePoint(HWND captured, POINT screenPoint, POINT* imagePoint);
