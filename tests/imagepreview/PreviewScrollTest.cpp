// The preview's scroll ranges and the positions scrolling leads to (the
// GUI tests send the real messages).
#include "imagepreview/PreviewScroll.h"

#include <gtest/gtest.h>

TEST(PreviewScroll, Ranges) {
    // The last row at 150 %: a 15-pixel margin and a 26-pixel bar.
    struct { int w, h, imageW, imageH, bar, margin; ScrollRange horizontal, vertical; } rows[] = {
        { 600, 400, 300, 200, 17, 10, { 320, 320 }, { 400, 400 } },
        { 600, 200, 1024, 768, 17, 10, { 1044, 600 }, { 768 + 17 + 30, 200 } },
        { 1024, 300, 1024, 300, 17, 10, { 1044, 1044 }, { 300, 300 } },
        { 600, 200, 1024, 768, 26, 15, { 1054, 600 }, { 768 + 26 + 45, 200 } },
    };
    for (const auto& r : rows) {
        PreviewScrollRanges got = ComputePreviewScrollRanges(r.w, r.h, r.imageW, r.imageH, r.bar, r.margin);
        EXPECT_EQ(r.horizontal.maximum, got.horizontal.maximum) << r.imageW;
        EXPECT_EQ(r.horizontal.page, got.horizontal.page) << r.imageW;
        EXPECT_EQ(r.vertical.maximum, got.vertical.maximum) << r.imageW;
        EXPECT_EQ(r.vertical.page, got.vertical.page) << r.imageW;
    }
}

TEST(PreviewScroll, PositionsStayWithinTheRange) {
    struct { ScrollState s; int request, thumb, expected; } rows[] = {
        { { 50, 200, 815 }, ScrollToEnd, 0, 795 },     { { 5, 200, 15 }, ScrollToEnd, 0, 0 },
        { { 810, 200, 815 }, ScrollLineForward, 0, 815 }, { { 5, 200, 815 }, ScrollLineBack, 0, 0 },
        { { 50, 200, 815 }, ScrollPageBack, 0, 0 },    { { 50, 200, 815 }, 8 /* SB_ENDSCROLL */, 0, 50 },
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.expected, PositionForRequest(r.s, r.request, r.thumb)) << r.request << " at " << r.s.position;
    EXPECT_EQ(0, PositionForLines({ 30, 600, 1044 }, -1));
    EXPECT_EQ(1044, PositionForWheel({ 100, 600, 1044 }, -12000));
    EXPECT_EQ(100, PositionForWheel({ 100, 600, 1044 }, -60)) << "less than a notch";
}
