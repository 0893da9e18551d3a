// The image preview under the history list: the selected record's image at
// its natural size, 10 pixels (at 96 DPI) in from the top-left corner, with scroll
// bars, keys and the wheel to move it.  The image is held as the packed
// bitmap the display draws (PreviewImage), so painting is one call.
#pragma once

#include <windows.h>

#include "imagepreview/PreviewImage.h"

struct PreviewWindow {
    HWND window;       // class GYROLENS_CLASS_2
    HWND messageOwner; // the history container: owner of the loaders' boxes
    HFONT* paneFont;   // selected while painting
    PreviewImage image; // the selected record's picture, or empty
    int wheelPending[2]; // parts of a wheel notch not yet scrolled, by SB_HORZ and SB_VERT
    int dpi;             // the margin and the scroll ranges are for this DPI
};

extern PreviewWindow gPreview;

// The layout hands over the window once it exists.
void AttachPreview(HWND window, HWND messageOwner, HFONT* paneFont);
// The window moved to a monitor of another DPI.
void ChangePreviewDpi(int dpi);

// Shows the image of the selected history row, or clears the preview.
void ReloadPreview();
// Takes the picture of the file just written at `path` from the pixels it
// was written from (a 40-byte information header and the rows), so that
// the reload that follows need not read the file back.  Only for files
// that hold those pixels exactly.
void ShowCapturedPixels(const char* path, const void* infoHeader, const void* rows, size_t rowsSize);
// Both scroll ranges from the window and image sizes; positions back to 0.
void UpdatePreviewScrollBars();

// Draws the preview into `dc` (also for WM_PRINTCLIENT): the image at the
// scroll positions, or white when there is none.
void PaintContent(HWND hwnd, HDC dc, const RECT& client);

// The preview's own messages (painting, scrolling, keys, focus); the layout
// handles its size, position and hit testing first.
LRESULT PreviewWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
