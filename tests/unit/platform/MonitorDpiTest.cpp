#include "platform/MonitorDpi.h"

#include <gtest/gtest.h>

#include <string>

namespace korvan {
namespace {

std::string Text(const ScreenRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// A 3840 x 2160 monitor at 150 percent left of a 1920 x 1080 primary at 100 percent, in
// physical pixels, and a 1280 x 1024 one at 125 percent right of it, lower down.
const std::vector<MonitorDpi> kMixed{{{-3840, 0, 0, 2160}, 144}, {{0, 0, 1920, 1080}, 96}, {{1920, 200, 3200, 1224}, 120}};

TEST(ScaleForDpi, RoundsHalfAwayFromZero) {
    struct Case {
        int designed, dpi, expected;
    };
    const Case cases[] = {{39, 96, 39}, {39, 144, 59}, {38, 144, 57}, {128, 120, 160}, {20, 120, 25},
                          {1, 144, 2}, {-1, 144, -2}, {7, 168, 12}, {0, 192, 0}};
    for (const Case& c : cases) EXPECT_EQ(ScaleForDpi(c.designed, c.dpi), c.expected) << c.designed << "@" << c.dpi;
}

// The overlay works in physical pixels over every monitor; its magnifier and texts take the
// DPI of the monitor under the pointer, the nearest one's in a strip no monitor shows.
TEST(DpiAt, IsTheDpiOfTheMonitorUnderThePointer) {
    struct Case {
        int x, y, expected;
    };
    const Case cases[] = {
        {-3840, 0, 144}, {-1, 2159, 144}, {0, 0, 96}, {1919, 1079, 96}, {1920, 200, 120},
        {1000, 1500, 96},   // below the primary, nearest to it
        {-100, 2500, 144},  // below the 4K monitor
        {2500, 100, 120},   // above the third monitor
        {3300, 1300, 120},
    };
    for (const Case& c : cases) EXPECT_EQ(DpiAt(c.x, c.y, kMixed), c.expected) << c.x << "," << c.y;
    EXPECT_EQ(DpiAt(5, 5, {}), 96);
}

// The main window (406 x 70 at 96 DPI) meets a monitor of another DPI: dragged there by
// the user, moved away by a capture, brought back by the restore.
TEST(PlaceAfterDpiChange, FollowsTheSystemOnlyWhenTheUserMovedTheWindow) {
    struct Case {
        const char* name;
        DpiChange change;
        const char* expected;
    };
    const Case cases[] = {
        {"dragged onto the 150 percent monitor", {{-300, 100, 106, 170}, {-320, 95, 289, 200}, -3840, false, {}},
         "-320,95,289,200"},
        {"moved away left of a 150 percent monitor", {{-4246, 100, -3840, 170}, {-4246, 100, -3637, 205}, -3840, true, -4246},
         "-4449,100,-3840,205"},
        {"back home from there", {{-4449, 100, -3840, 205}, {-4449, 100, -4043, 170}, -3840, true, 500},
         "500,100,906,170"},
        {"settings changed while away", {{-4246, 100, -3840, 170}, {-4300, 90, -3691, 195}, -3840, true, {}},
         "-4449,100,-3840,205"},
        {"back home onto the 150 percent monitor", {{-4246, 100, -3840, 170}, {-3000, 100, -2391, 205}, -3840, true, -3000},
         "-3000,100,-2391,205"},
    };
    for (const Case& c : cases) EXPECT_EQ(Text(PlaceAfterDpiChange(c.change)), c.expected) << c.name;
}

} // namespace
} // namespace korvan
