// The arithmetic of the main layout, without Win32: where the tab control
// and its containers go, how the history pane is split between the list and
// the preview, which borders of the split frame may be dragged, how far the
// windows may be sized, and where a stored main window rectangle is put
// back on a screen.
#pragma once

struct PaneRect {
    int x, y, width, height;
};

// System metrics the layout works with.
struct PaneMetrics {
    int cx;   // SM_CXFRAME
    int cy;   // SM_CYFRAME
    int edge; // SM_CYEDGE
    int hs;   // SM_CYHSCROLL
};

// The tab control in the main window's client area, between the toolbar
// and the status bar.
PaneRect TabControlRect(const PaneMetrics& m, int clientWidth, int clientHeight, int toolbarHeight,
                        int statusHeight);
// Both containers, relative to the tab control, below its headers.
PaneRect ContainerRect(const PaneMetrics& m, int tabWidth, int tabHeight, int charHeight);

// The first split of a container W x H: the list above, the frame below,
// halves; the frame sticks out by 4 * cy at the left and right so that its
// side borders lie outside the container.
void FirstSplit(const PaneMetrics& m, int containerWidth, int containerHeight, PaneRect* listHost,
                PaneRect* frame);
// Later splits keep the frame's height while it fits, else halve again.
PaneRect LaterSplit(const PaneMetrics& m, int containerWidth, int containerHeight, int frameHeight);
// The preview inside the frame (frame window size), and the list host above
// the frame (container size, frame height).
PaneRect PreviewInFrame(const PaneMetrics& m, int frameWidth, int frameHeight);
PaneRect ListHostAboveFrame(const PaneMetrics& m, int containerWidth, int containerHeight, int frameHeight);

// Hit-test answers (the values of WM_NCHITTEST).
enum HitCode {
    HitBorder = 18, HitLeft = 10, HitRight = 11, HitTop = 12, HitTopLeft = 13, HitTopRight = 14,
    HitBottom = 15, HitBottomLeft = 16, HitBottomRight = 17,
};
// Only the top border of the split frame sizes it.
int RemapSplitHit(int hit);

enum PaneWindow { PaneListHost, PaneSplitFrame, PanePreview };
struct TrackLimits {
    int minWidth, minHeight, maxWidth, maxHeight;
};
TrackLimits PaneTrackLimits(const PaneMetrics& m, PaneWindow window, int containerWidth, int containerHeight);

// The main window's tracking limits; `room` is the height left for the
// panes (150 pixels at 96 DPI).
TrackLimits MainTrackLimits(int cxFrame, int cyFrame, int cyMenu, int cyCaption, int cxFullScreen,
                            int cyFullScreen, int room);

// A window rectangle (left, top, right, bottom) that lies wholly outside
// every screen is moved onto the primary screen's work area, keeping its
// size where it fits; true when it was moved.
struct ScreenRect {
    int left, top, right, bottom;
};
bool Intersects(const ScreenRect& a, const ScreenRect& b);
bool BringOntoScreen(ScreenRect* window, const ScreenRect* screens, int screenCount, const ScreenRect& workArea);
