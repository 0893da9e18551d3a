// The capture engine's one state record: whether monitoring is on, the last
// grabbed bitmap and what it shows, the working copy of the file settings,
// and the file just written.
#pragma once

#include <windows.h>

#include "base/TextSizes.h"
#include "capture/CaptureMath.h"

struct Settings;

enum { FilePrefixSize = 64 };

struct CaptureContext {
    int monitoring;
    HBITMAP bitmap;       // last grab (see CreateImageBitmap); owned here, replaced at each grab
    RECT captureRect;     // window rectangle before clipping, or the screen
    int captureKind;      // CaptureKindWindow or CaptureKindScreen
    // Working copy of the file settings, taken at start-up and whenever the
    // settings sheet is applied.
    int confirmOverwrite;
    ImageFormat imageFormat;
    char filePrefix[FilePrefixSize];
    char saveFolder[PathSize];
    int jpegQuality;
    int nextNumber;
    char imageFilePath[PathSize]; // the file of the current capture
    char windowTitle[PathSize];   // the window's title, or "SCREEN"
    char defaultComment[CommentSize];
};

extern CaptureContext gCapture;

// Monitoring off, no bitmap, number 1, prefix "a".
void InitCaptureContext(CaptureContext& ctx);
// Releases the bitmap and resets the record.
void ResetCaptureContext(CaptureContext& ctx);
// Takes the file settings into the working copy: overwrite check, quality,
// next number, format, prefix (cut to its buffer) and the image folder.
void CopyFileSettingsToCapture(CaptureContext& ctx, const Settings& s, const char* historyFolder);
// The bitmap a grab draws into: a 24-bit bottom-up DIB section, whose pixels
// are already the rows of the BMP file, so that the writers take them as
// they are instead of converting a device bitmap.  NULL when it cannot be made.
HBITMAP CreateImageBitmap(HDC display, int width, int height);
// Replaces the bitmap, deleting the previous one.
void ReplaceCaptureBitmap(CaptureContext& ctx, HBITMAP bitmap);

// The comment offered to the record of the last capture: the fixed comment
// when "コメント選択" is set, otherwise the window title as text (see
// TitleAsComment) cut to 128 bytes.
const char* DefaultComment(CaptureContext& ctx, const Settings& s);
