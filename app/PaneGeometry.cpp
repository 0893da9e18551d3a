#include "app/PaneGeometry.h"

PaneRect TabControlRect(const PaneMetrics& m, int clientWidth, int clientHeight, int toolbarHeight,
                        int statusHeight) {
    PaneRect r;
    r.x = m.edge;
    r.y = toolbarHeight + m.cy + m.edge;
    r.width = clientWidth - m.edge - m.cy;
    r.height = clientHeight - r.y - m.edge - m.cy - statusHeight;
    return r;
}

PaneRect ContainerRect(const PaneMetrics& m, int tabWidth, int tabHeight, int charHeight) {
    int headers = charHeight + 3 * m.cy;
    return { m.cy, headers + m.cy, tabWidth - 2 * m.cy, tabHeight - 2 * m.cy - headers };
}

void FirstSplit(const PaneMetrics& m, int w, int h, PaneRect* listHost, PaneRect* frame) {
    int a = m.cy;
    *listHost = { 0, 0, w, h - h / 2 };
    *frame = { -4 * a, h - h / 2, w + 8 * a, h / 2 + a };
}

PaneRect LaterSplit(const PaneMetrics& m, int w, int h, int frameHeight) {
    int a = m.cy;
    int b = frameHeight - a;
    if (h - b > 0)
        return { -4 * a, h - b, w + 8 * a, b + a };
    return { -4 * a, h / 2, w + 8 * a, h - h / 2 };
}

PaneRect PreviewInFrame(const PaneMetrics& m, int frameWidth, int frameHeight) {
    int c = m.cx;
    return { 3 * c, 0, frameWidth - 8 * c, frameHeight - 2 * c };
}

PaneRect ListHostAboveFrame(const PaneMetrics& m, int containerWidth, int containerHeight, int frameHeight) {
    return { 0, 0, containerWidth, containerHeight - frameHeight + m.cx };
}

int RemapSplitHit(int hit) {
    switch (hit) {
    case HitTop:
    case HitTopLeft:
    case HitTopRight:
        return HitTop;
    case HitLeft:
    case HitRight:
    case HitBottom:
    case HitBottomLeft:
    case HitBottomRight:
        return HitBorder;
    }
    return hit;
}

TrackLimits PaneTrackLimits(const PaneMetrics& m, PaneWindow window, int w, int h) {
    switch (window) {
    case PaneListHost:
        return { 10 * m.cx, m.hs + 10 * m.cy, w, h - 10 * m.cy };
    case PaneSplitFrame:
        return { 10 * m.cx, 10 * m.cy, w + 8 * m.cx, h - 10 * m.cy };
    case PanePreview:
        break;
    }
    return { 10 * m.cx, 10 * m.cy, w, h - 10 * m.cy };
}

TrackLimits MainTrackLimits(int cxFrame, int cyFrame, int cyMenu, int cyCaption, int cxFullScreen,
                            int cyFullScreen, int room) {
    return { 20 * cxFrame, 20 * cyFrame + cyMenu + cyCaption + room, cxFullScreen, cyFullScreen };
}

bool Intersects(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool BringOntoScreen(ScreenRect* window, const ScreenRect* screens, int screenCount, const ScreenRect& workArea) {
    for (int i = 0; i < screenCount; i++)
        if (Intersects(*window, screens[i]))
            return false;
    int width = window->right - window->left, height = window->bottom - window->top;
    int areaWidth = workArea.right - workArea.left, areaHeight = workArea.bottom - workArea.top;
    if (width > areaWidth)
        width = areaWidth;
    if (height > areaHeight)
        height = areaHeight;
    *window = { workArea.left, workArea.top, workArea.left + width, workArea.top + height };
    return true;
}
