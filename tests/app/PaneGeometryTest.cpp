// The layout and command-state arithmetic, without windows.
#include "app/PaneGeometry.h"

#include <gtest/gtest.h>

namespace {
const PaneMetrics M = { 4, 4, 2, 16 }; // cx, cy, edge, hs
}

TEST(PaneGeometry, FirstSplitHalvesTheContainer) {
    PaneRect host, frame;
    FirstSplit(M, 600, 400, &host, &frame);
    EXPECT_EQ(200, host.height);
    EXPECT_EQ(600, host.width);
    EXPECT_EQ(200 + M.cy, frame.height);
    EXPECT_EQ(200, frame.y);
    EXPECT_EQ(-4 * M.cy, frame.x);
    EXPECT_EQ(600 + 8 * M.cy, frame.width);
}

TEST(PaneGeometry, LaterSplitKeepsTheDraggedHeightWhileItFits) {
    struct {
        int containerHeight, frameHeight, y, height;
    } cases[] = {
        { 500, 300, 500 - 296, 300 }, // kept
        { 250, 300, 125, 125 },       // too high: halves again
        { 296, 300, 148, 148 },       // exactly the kept height: no room above
    };
    for (const auto& c : cases) {
        PaneRect r = LaterSplit(M, 600, c.containerHeight, c.frameHeight);
        EXPECT_EQ(c.y, r.y) << c.containerHeight;
        EXPECT_EQ(c.height, r.height) << c.containerHeight;
    }
}

TEST(PaneGeometry, OnlyTheTopBorderSizesTheFrame) {
    struct {
        int hit, answer;
    } cases[] = {
        { HitTop, HitTop }, { HitTopLeft, HitTop }, { HitTopRight, HitTop }, { HitLeft, HitBorder },
        { HitRight, HitBorder }, { HitBottom, HitBorder }, { HitBottomLeft, HitBorder },
        { HitBottomRight, HitBorder }, { 1, 1 }, { 2, 2 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.answer, RemapSplitHit(c.hit)) << c.hit;
}

TEST(PaneGeometry, StoredRectangleOffEveryScreenComesBack) {
    ScreenRect screens[] = { { 0, 0, 1024, 768 } };
    ScreenRect work = { 0, 0, 1024, 740 };
    struct {
        ScreenRect stored;
        bool moved;
        ScreenRect result;
    } cases[] = {
        { { -32000, -32000, -31840, -31973 }, true, { 0, 0, 160, 27 } },
        { { 100, 50, 900, 650 }, false, { 100, 50, 900, 650 } },
        { { 1000, 700, 1800, 1300 }, false, { 1000, 700, 1800, 1300 } }, // partly visible stays
        { { 2000, 0, 4000, 1000 }, true, { 0, 0, 1024, 740 } },           // cut to the work area
    };
    for (const auto& c : cases) {
        ScreenRect r = c.stored;
        EXPECT_EQ(c.moved, BringOntoScreen(&r, screens, 1, work)) << c.stored.left;
        EXPECT_EQ(c.result.left, r.left);
        EXPECT_EQ(c.result.top, r.top);
        EXPECT_EQ(c.result.right, r.right);
        EXPECT_EQ(c.result.bottom, r.bottom);
    }
}

