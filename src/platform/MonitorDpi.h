#pragma once
// Monitors with their own dots per inch. The program is aware of each monitor's DPI: every
// coordinate is a physical pixel; only lengths designed at 96 DPI (controls, the overlay's
// magnifier and texts) grow with the DPI of the monitor they are shown on.
#include "platform/SystemPorts.h"

#include <optional>
#include <vector>

namespace korvan {

struct MonitorDpi {
    ScreenRect bounds;  // physical pixels of the virtual screen
    int dpi = 96;
};

// A length designed at 96 DPI, at the given DPI (rounded half away from zero, as the system does).
int ScaleForDpi(int designed, int dpi);
// The DPI of the monitor showing the point; the nearest monitor's for a point on none
// (a strip below a smaller monitor); 96 when no monitor is known.
int DpiAt(int x, int y, const std::vector<MonitorDpi>& monitors);

// What the system says when a window comes onto a monitor of another DPI.
struct DpiChange {
    ScreenRect before;      // the window until now
    ScreenRect suggested;   // the system's rectangle at the new DPI
    int virtualLeft = 0;    // left edge of the virtual screen
    bool outOfSight = false;           // a capture keeps the window left of every monitor
    std::optional<int> placedAt;       // the left the program itself has just given it
};
// Where the window goes: dragged by the user, where the system suggests (so it stays under
// the pointer); moved by the program, at the left it was given, with the new size; away
// from every monitor, still left of all of them however much it grew.
ScreenRect PlaceAfterDpiChange(const DpiChange& change);

} // namespace korvan
