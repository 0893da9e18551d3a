// The preview's scroll ranges and the positions scrolling leads to.
#include "imagepreview/PreviewScroll.h"

#include <gtest/gtest.h>

TEST(PreviewScroll, Ranges) {
    struct { int w, h, imageW, imageH; ScrollRange horizontal, vertical; } rows[] = {
        // Fits: the vertical range is the window's height, the horizontal
        // one the picture's width and margin, both a page long.
        { 600, 400, 300, 200, { 320, 320 }, { 400, 400 } },
        { 600, 200, 1024, 768, { 1044, 600 }, { 768 + 17 + 30, 200 } },
        { 1024, 300, 1024, 300, { 1044, 1044 }, { 300, 300 } },
        { 1023, 299, 1024, 300, { 1044, 1023 }, { 300 + 17 + 30, 299 } },
    };
    for (const auto& r : rows) {
        PreviewScrollRanges got = ComputePreviewScrollRanges(r.w, r.h, r.imageW, r.imageH, 17);
        EXPECT_EQ(r.horizontal.maximum, got.horizontal.maximum) << r.imageW << "x" << r.imageH;
        EXPECT_EQ(r.horizontal.page, got.horizontal.page) << r.imageW << "x" << r.imageH;
        EXPECT_EQ(r.vertical.maximum, got.vertical.maximum) << r.imageW << "x" << r.imageH;
        EXPECT_EQ(r.vertical.page, got.vertical.page) << r.imageW << "x" << r.imageH;
    }
}

TEST(PreviewScroll, Requests) {
    const ScrollState s = { 50, 200, 815 }; // line 20
    struct { int request; int thumb; int expected; } rows[] = {
        { ScrollLineBack, 0, 30 },      { ScrollLineForward, 0, 70 },  { ScrollPageBack, 0, 0 },
        { ScrollPageForward, 0, 250 },  { ScrollThumbPosition, 400, 400 }, { ScrollThumbTrack, 123, 123 },
        { ScrollToStart, 0, 0 },        { ScrollToEnd, 0, 795 },       { 8 /* SB_ENDSCROLL */, 0, 50 },
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.expected, PositionForRequest(s, r.request, r.thumb)) << "request " << r.request;
    EXPECT_EQ(815, PositionForRequest({ 810, 200, 815 }, ScrollLineForward, 0));
    EXPECT_EQ(815, PositionForRequest({ 700, 200, 815 }, ScrollPageForward, 0));
    EXPECT_EQ(0, PositionForRequest({ 5, 200, 815 }, ScrollLineBack, 0));
    EXPECT_EQ(0, PositionForRequest({ 5, 200, 15 }, ScrollToEnd, 0));
}

TEST(PreviewScroll, KeysAndWheel) {
    const ScrollState s = { 100, 600, 1044 }; // line 60
    EXPECT_EQ(40, PositionForLines(s, -1));
    EXPECT_EQ(160, PositionForLines(s, 1));
    EXPECT_EQ(0, PositionForLines({ 30, 600, 1044 }, -1));
    EXPECT_EQ(1044, PositionForLines({ 1000, 600, 1044 }, 1));
    struct { int delta; int expected; } wheel[] = {
        { -120, 160 }, { 120, 40 }, { -240, 220 }, { 360, 0 }, { -60, 100 }, { -12000, 1044 },
    };
    for (const auto& w : wheel)
        EXPECT_EQ(w.expected, PositionForWheel(s, w.delta)) << "delta " << w.delta;
}
