#include "capture/ZoomFactor.h"
#include "imaging/Rounding.h"
#include "image/ZoomLayout.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

// Rounding of ratios and sizes: to the nearest integer, halves to even.
TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(250.25), 250);
    EXPECT_EQ(RoundHalfEven(0.667), 1);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.6), -3);
}

// The zoom is 100 divided by the larger rounded ratio of image to control less 60.
TEST(ComputeZoomPercent, FollowsTheDocumentedExamples) {
    EXPECT_EQ(ComputeZoomPercent(1000, 600, 460, 360), 50);   // 2.5 and 2 round to 2
    EXPECT_EQ(ComputeZoomPercent(300, 200, 460, 360), 100);   // both round to 1
    EXPECT_EQ(ComputeZoomPercent(150, 100, 460, 360), 100);   // both round to 0
    EXPECT_EQ(ComputeZoomPercent(1000, 600, 560, 360), 50);
    EXPECT_EQ(ComputeZoomPercent(1000, 600, 1060, 660), 100);
    EXPECT_EQ(ComputeZoomPercent(0, 0, 288, 207), 100);       // empty document
}

TEST(ComputeZoomPercent, IsAlways100DividedByAWholeNumber) {
    const int expected[] = {100, 50, 33, 25, 20, 16, 14, 12, 11, 10, 9};
    for (int n = 1; n <= 11; ++n) EXPECT_EQ(ComputeZoomPercent(100 * n, 10, 160, 200), expected[n - 1]) << n;
}

// A control of exactly 60 pixels leaves no room on that axis: it does not count.
TEST(ComputeZoomPercent, AnAxisWithoutRoomDoesNotCount) {
    EXPECT_EQ(ComputeZoomPercent(1000, 300, 60, 160), 33);   // height alone: round(300/100) = 3
    EXPECT_EQ(ComputeZoomPercent(1000, 300, 160, 60), 10);   // width alone
    EXPECT_EQ(ComputeZoomPercent(1000, 300, 60, 60), 100);
    // Narrower than 60: a negative ratio, which never wins.
    EXPECT_EQ(ComputeZoomPercent(1000, 300, 40, 160), 33);
    EXPECT_EQ(ComputeZoomPercent(1000, 300, 40, 50), 100);
}

int scrollX = 0, scrollY = 0;

DisplayRect Lay(int w, int h, double zoom, int cw, int ch) {
    scrollX = scrollY = 0;
    return LayoutZoom({w, h, zoom, zoom, cw, ch, true}, scrollX, scrollY).rect;
}

// Centring where the image is smaller than the client area; sizes rounded halves to even.
TEST(LayoutZoom, CentresSmallImages) {
    EXPECT_EQ(Lay(200, 100, 1.0, 288, 207), (DisplayRect{44, 53, 200, 100}));
    EXPECT_EQ(Lay(200, 100, 0.5, 288, 207), (DisplayRect{94, 78, 100, 50}));
    EXPECT_EQ(Lay(1000, 700, 0.25, 1000, 1000).width, 250);
    EXPECT_EQ(Lay(1000, 700, 0.25, 1000, 1000).height, 175);
    EXPECT_EQ(Lay(1001, 700, 0.25, 1000, 1000).width, 250);
    EXPECT_EQ(Lay(1000, 600, 0.5, 560, 360), (DisplayRect{30, 30, 500, 300}));
}

TEST(LayoutZoom, ZeroZoomDrawsASinglePixelAndEmptyDrawsNothing) {
    EXPECT_EQ(Lay(640, 480, 0.0, 288, 207), (DisplayRect{144, 103, 1, 1}));
    scrollX = 40;
    scrollY = 7;
    ZoomLayoutResult empty = LayoutZoom({0, 0, 1.0, 1.0, 288, 207, true}, scrollX, scrollY);
    EXPECT_EQ(empty.rect, (DisplayRect{}));
    EXPECT_EQ(scrollX, 0);
    EXPECT_EQ(scrollY, 0);
}

// Larger than the client area: that axis scrolls, the other stays centred.
TEST(LayoutZoom, ScrollsAnAxisThatDoesNotFit) {
    int x = 999, y = 999;
    ZoomLayoutResult r = LayoutZoom({1000, 600, 0.5, 0.5, 400, 300, true}, x, y);
    EXPECT_EQ(r.maxScrollX, 100);
    EXPECT_EQ(r.maxScrollY, 0);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(r.rect, (DisplayRect{-100, 0, 500, 300}));
    x = 30;
    r = LayoutZoom({1000, 500, 0.5, 0.5, 400, 300, true}, x, y);
    EXPECT_EQ(r.rect, (DisplayRect{-30, 25, 500, 250}));
}

} // namespace
} // namespace korvan
