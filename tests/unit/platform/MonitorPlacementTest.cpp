#include "platform/MonitorPlacement.h"

#include <gtest/gtest.h>

#include <string>

namespace korvan {
namespace {

std::string Text(const ScreenRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// A 1280 x 1024 monitor left of a 1920 x 1160 primary work area (a task bar below).
const ScreenRect kLeft{-1280, 0, 0, 1024}, kPrimary{0, 0, 1920, 1160};
const std::vector<ScreenRect> kMonitors{kLeft, kPrimary};

TEST(CentredIn, CentresOnTheGivenMonitorAndKeepsLargerWindowsCornerOnIt) {
    struct Case {
        ScreenRect workArea;
        int width, height;
        const char* expected;
    };
    const Case cases[] = {
        {kLeft, 400, 300, "-840,362,-440,662"},
        {kPrimary, 401, 301, "759,429,1160,730"},
        {kLeft, 1500, 1100, "-1280,0,220,1100"},  // larger than the monitor
    };
    for (const Case& c : cases) EXPECT_EQ(Text(CentredIn(c.workArea, c.width, c.height)), c.expected);
}

TEST(MovedOnto, OpensOnTheTargetMonitorWholeAndNeverAcrossTheBorder) {
    struct Case {
        const char* name;
        ScreenRect rect, target;
        const char* expected;
    };
    const Case cases[] = {
        {"already there", {-900, 300, -500, 600}, kLeft, "-900,300,-500,600"},
        {"already there at negative x, straddling the border", {-200, 300, 200, 600}, kLeft, "-400,300,0,600"},
        {"from the primary, same place relative to the corner", {489, 235, 795, 490}, kLeft, "-791,235,-485,490"},
        {"from the primary, kept whole", {1700, 900, 2000, 1100}, kLeft, "-300,824,0,1024"},
        {"from the left monitor onto the primary", {-1200, 50, -900, 250}, kPrimary, "80,50,380,250"},
        {"from nowhere", {5000, 5000, 5300, 5200}, kPrimary, "1620,960,1920,1160"},
    };
    for (const Case& c : cases) EXPECT_EQ(Text(MovedOnto(c.rect, c.target, kMonitors)), c.expected) << c.name;
}

} // namespace
} // namespace korvan
