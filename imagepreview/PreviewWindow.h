// The image preview under the history list: the selected record's image at
// its natural size, with scroll bars.
#pragma once

#include <windows.h>

struct PreviewWindow {
    HWND window;       // class GYROLENS_CLASS_2
    HWND messageOwner; // the history container: owner of the loaders' boxes
    HFONT* paneFont;   // selected while painting
};

extern PreviewWindow gPreview;

// The layout hands over the window once it exists.
void AttachPreview(HWND window, HWND messageOwner, HFONT* paneFont);

// Shows the image of the selected history row, or clears the preview.
void ReloadPreview();
// Both scroll ranges from the window and image sizes.
void UpdatePreviewScrollBars();

// The preview's own messages (painting, scrolling, keys, focus); the layout
// handles its size, position and hit testing first.
LRESULT PreviewWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
