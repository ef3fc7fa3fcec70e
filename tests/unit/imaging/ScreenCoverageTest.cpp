#include "imaging/ScreenCoverage.h"

#include <gtest/gtest.h>

namespace korvan::imaging {
namespace {

long long Area(const std::vector<ScreenRect>& rects) {
    long long sum = 0;
    for (const ScreenRect& r : rects) sum += static_cast<long long>(r.Width()) * r.Height();
    return sum;
}

bool Covered(const std::vector<ScreenRect>& rects, int x, int y) {
    for (const ScreenRect& r : rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
}

// A 1280 x 1024 monitor left of a 1920 x 1200 primary one leaves a strip of 1280 x 176
// below the smaller one; every grab gets exactly its share of that strip.
TEST(PartsOnNoMonitor, AreTheStripsNoMonitorShows) {
    const std::vector<ScreenRect> twoMonitors{{-1280, 0, 0, 1024}, {0, 0, 1920, 1200}};
    struct Case {
        ScreenRect area;
        std::vector<ScreenRect> monitors;
        std::vector<ScreenRect> expected;
    };
    const Case cases[] = {
        {{-1280, 0, 1920, 1200}, twoMonitors, {{-1280, 1024, 0, 1200}}},   // the whole virtual screen
        {{-300, 900, 400, 1100}, twoMonitors, {{-300, 1024, 0, 1100}}},    // across the border and the strip
        {{100, 100, 500, 400}, twoMonitors, {}},                           // on one monitor
        {{-1280, 0, 0, 1024}, twoMonitors, {}},                            // exactly one monitor
        {{-900, 1100, -800, 1150}, twoMonitors, {{-900, 1100, -800, 1150}}},  // all in the strip
        {{0, 0, 10, 10}, {}, {{0, 0, 10, 10}}},                            // no monitor known
        {{5, 5, 5, 9}, twoMonitors, {}},                                   // empty area
    };
    for (const Case& c : cases) {
        std::vector<ScreenRect> parts = PartsOnNoMonitor(c.area, c.monitors);
        ASSERT_EQ(parts.size(), c.expected.size()) << c.area.left << "," << c.area.top;
        for (size_t i = 0; i < parts.size(); ++i) {
            EXPECT_EQ(parts[i].left, c.expected[i].left);
            EXPECT_EQ(parts[i].top, c.expected[i].top);
            EXPECT_EQ(parts[i].right, c.expected[i].right);
            EXPECT_EQ(parts[i].bottom, c.expected[i].bottom);
        }
    }
}

// Three monitors of three heights, the middle one higher up: the pieces never overlap and
// cover exactly the pixels outside every monitor.
TEST(PartsOnNoMonitor, CoverExactlyThePixelsOutsideEveryMonitor) {
    const std::vector<ScreenRect> monitors{{-1024, 100, 0, 868}, {0, 0, 1920, 1080}, {1920, 300, 3200, 1324}};
    const ScreenRect area{-1100, -20, 3250, 1400};
    std::vector<ScreenRect> parts = PartsOnNoMonitor(area, monitors);
    long long outside = 0;
    for (int y = area.top; y < area.bottom; y += 3)
        for (int x = area.left; x < area.right; x += 5) {
            bool onMonitor = Covered(monitors, x, y);
            EXPECT_EQ(Covered(parts, x, y), !onMonitor) << x << "," << y;
        }
    for (const ScreenRect& m : monitors) outside -= static_cast<long long>(m.Width()) * m.Height();
    outside += static_cast<long long>(area.Width()) * area.Height();
    EXPECT_EQ(Area(parts), outside);
}

} // namespace
} // namespace korvan::imaging
