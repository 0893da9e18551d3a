// The preview's scrolling arithmetic, all in pixels: the ranges of both
// scroll bars for a window and an image, and the position each scroll
// request, arrow key or wheel turn leads to.  A line is a tenth of a page.
#pragma once

// One scroll bar; its minimum and its position after a load are always 0.
struct ScrollRange {
    int maximum;
    int page;
};

struct PreviewScrollRanges {
    ScrollRange horizontal;
    ScrollRange vertical;
};

// `windowWidth` and `windowHeight` are the preview's outer size, `margin`
// the room left of and above the picture (10 pixels at 96 DPI).  A picture
// taller than the window scrolls to its height plus the horizontal bar's
// height plus three margins; a wider one to its width plus two.
PreviewScrollRanges ComputePreviewScrollRanges(int windowWidth, int windowHeight, int imageWidth,
                                               int imageHeight, int horizontalBarHeight, int margin);

// Scroll-bar request codes; the values are the platform's SB_ codes.
enum ScrollRequest {
    ScrollLineBack = 0,
    ScrollLineForward = 1,
    ScrollPageBack = 2,
    ScrollPageForward = 3,
    ScrollThumbPosition = 4,
    ScrollThumbTrack = 5,
    ScrollToStart = 6,
    ScrollToEnd = 7,
};

struct ScrollState {
    int position;
    int page;
    int maximum;
};

int ScrollLine(const ScrollState& s);
// New position for a scroll-bar request; unknown requests keep the position.
int PositionForRequest(const ScrollState& s, int request, int thumb);
// New position after `lines` lines (negative: back), within 0..maximum.
int PositionForLines(const ScrollState& s, int lines);
// New position for a wheel turn of `wheelDelta` (120 a notch, forward is
// positive and scrolls back).
int PositionForWheel(const ScrollState& s, int wheelDelta);
// Wheel deltas of any size (precision touchpads and smooth-scrolling mice
// send parts of a notch) add up in `pending` until they make whole notches:
// returns the delta of the whole notches reached and keeps the rest.
int TakeWholeNotches(int* pending, int wheelDelta);
