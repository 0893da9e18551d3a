// Markings drawn into a grabbed image at the mouse cursor: a red frame round
// the window or control under it, one of four built-in cursor pictures, or
// the real cursor of the moment.
#pragma once

#include <windows.h>

enum MarkingKind { MarkWindow, MarkScreen };

enum {
    CursorPictureCount = 4,
    CursorPictureCell = 30, // cells of the bitmap resource
    CursorPictureSize = 20, // as drawn
};

// Red frame round the window (screen kind) or the deepest child window
// (window kind) under `point`; in window kind only when the window under the
// cursor is the foreground window.
void DrawSelectionFrame(HDC target, POINT point, MarkingKind kind);
// The frame for `point`, relative to the top-level window's rectangle in
// window kind, in screen coordinates in screen kind.  False when no window
// yields one.
bool FindFrameRect(POINT point, MarkingKind kind, RECT* frame);
// First visible child of `parent`, in Z order, whose rectangle holds
// `point` (edges included); NULL when none.
HWND FindChildAtPoint(HWND parent, POINT point);

// Cursor picture `choice` (0-3), scaled to 20 x 20, at the cursor.
void DrawCursorImage(HDC target, POINT point, MarkingKind kind, HWND captured, int choice);
// Draws cell `choice` of the picture strip at (x, y), white being transparent.
void BlendCursorPicture(HDC target, int x, int y, HBITMAP strip, int choice);
// The cursor shape that is showing on the screen, at the cursor.
void DrawSystemCursor(HDC target, POINT point, MarkingKind kind, HWND captured);

// Where a point of the screen lands in a window capture: client coordinates
// moved by the window's frame and menu rows.  False when that point is
// outside the window's client rectangle.
bool WindowImagePoint(HWND captured, POINT screenPoint, POINT* imagePoint);
