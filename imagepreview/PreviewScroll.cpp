#include "imagepreview/PreviewScroll.h"

PreviewScrollRanges ComputePreviewScrollRanges(int windowWidth, int windowHeight, int imageWidth,
                                               int imageHeight, int horizontalBarHeight, int margin) {
    PreviewScrollRanges r;
    r.vertical.maximum = windowHeight < imageHeight ? imageHeight + horizontalBarHeight + 3 * margin : windowHeight;
    r.vertical.page = windowHeight;
    r.horizontal.maximum = imageWidth + 2 * margin;
    r.horizontal.page = windowWidth < imageWidth ? windowWidth : imageWidth + 2 * margin;
    return r;
}

int ScrollLine(const ScrollState& s) {
    return s.page / 10;
}

static int AtMost(int value, int limit) {
    return value > limit ? limit : value;
}

static int AtLeastZero(int value) {
    return value < 0 ? 0 : value;
}

int PositionForRequest(const ScrollState& s, int request, int thumb) {
    int line = ScrollLine(s);
    switch (request) {
    case ScrollLineBack:      return AtLeastZero(s.position - line);
    case ScrollLineForward:   return AtMost(s.position + line, s.maximum);
    case ScrollPageBack:      return AtLeastZero(s.position - s.page);
    case ScrollPageForward:   return AtMost(s.position + s.page, s.maximum);
    case ScrollThumbPosition:
    case ScrollThumbTrack:    return thumb;
    case ScrollToStart:       return 0;
    case ScrollToEnd:         return AtLeastZero(s.maximum - line);
    }
    return s.position;
}

int PositionForLines(const ScrollState& s, int lines) {
    return AtLeastZero(AtMost(s.position + lines * ScrollLine(s), s.maximum));
}

int PositionForWheel(const ScrollState& s, int wheelDelta) {
    int notches = wheelDelta / -120;
    return AtLeastZero(AtMost(s.position + notches * ScrollLine(s), s.maximum));
}

int TakeWholeNotches(int* pending, int wheelDelta) {
    *pending += wheelDelta;
    int whole = *pending / 120 * 120;
    *pending -= whole;
    return whole;
}
