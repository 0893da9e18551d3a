// The layout and command-state arithmetic, without windows.
#include "app/PaneGeometry.h"

#include <gtest/gtest.h>

#include "app/CommandStates.h"

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

TEST(PaneGeometry, TrackingLimits) {
    TrackLimits host = PaneTrackLimits(M, PaneListHost, 600, 400);
    EXPECT_EQ(40, host.minWidth);
    EXPECT_EQ(16 + 40, host.minHeight);
    EXPECT_EQ(600, host.maxWidth);
    EXPECT_EQ(360, host.maxHeight);
    TrackLimits frame = PaneTrackLimits(M, PaneSplitFrame, 600, 400);
    EXPECT_EQ(600 + 32, frame.maxWidth);
    TrackLimits main = MainTrackLimits(4, 4, 19, 19, 1024, 740);
    EXPECT_EQ(80, main.minWidth);
    EXPECT_EQ(80 + 19 + 19 + 150, main.minHeight);
    EXPECT_EQ(1024, main.maxWidth);
}

TEST(PaneGeometry, TabAndContainers) {
    PaneRect tab = TabControlRect(M, 800, 600, 26, 20);
    EXPECT_EQ(2, tab.x);
    EXPECT_EQ(26 + 4 + 2, tab.y);
    EXPECT_EQ(800 - 2 - 4, tab.width);
    EXPECT_EQ(600 - 32 - 2 - 4 - 20, tab.height);
    PaneRect box = ContainerRect(M, 794, 542, 10);
    EXPECT_EQ(4, box.x);
    EXPECT_EQ(10 + 12 + 4, box.y);
    EXPECT_EQ(794 - 8, box.width);
    EXPECT_EQ(542 - 8 - 22, box.height);
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

TEST(CommandStates, FollowTheListAndMonitoring) {
    EXPECT_FALSE(FileCommands(0, 0).save);
    EXPECT_TRUE(FileCommands(1, 0).save);
    EXPECT_FALSE(FileCommands(1, 0).htmlExport);
    EXPECT_TRUE(FileCommands(0, 3).htmlExport);
    EXPECT_EQ(ButtonChecked, MonitoringCommands(true).captureButton);
    EXPECT_EQ(ButtonEnabled, MonitoringCommands(false).captureButton);
    EXPECT_FALSE(SelectionCommands(3, -1).records);
    EXPECT_TRUE(SelectionCommands(3, 0).records);
    EXPECT_FALSE(SelectionCommands(0, -1).selectAll);
    int edges[3];
    StatusBarEdges(100, edges);
    EXPECT_EQ(33, edges[0]);
    EXPECT_EQ(66, edges[1]);
    EXPECT_EQ(100, edges[2]);
}
