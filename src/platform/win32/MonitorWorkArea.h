#pragma once
// Opening windows on the monitor of the main window (the portable rules in MonitorPlacement).
#include "platform/MonitorDpi.h"
#include "platform/MonitorPlacement.h"

#include <windows.h>

#include <vector>

namespace korvan::win {

// A monitor as the system lays them out, in physical pixels of the virtual screen.
struct DisplayMonitor {
    HMONITOR handle = nullptr;
    ScreenRect bounds;
    ScreenRect workArea;
};
std::vector<DisplayMonitor> DisplayMonitors();
// Every monitor with its DPI (96 where the system cannot tell).
std::vector<MonitorDpi> MonitorsWithDpi();
// The work area of the monitor holding most of the rectangle (the nearest one when none does).
ScreenRect WorkAreaAt(const ScreenRect& rect);
ScreenRect WindowRectOf(HWND window);
// Centres the window on the work area of the anchor window's monitor.
void CentreOnMonitorOf(HWND window, HWND anchor);
// Puts the window whole onto the monitor of the anchor rectangle (see MovedOnto).
void MoveOntoMonitorAt(HWND window, const ScreenRect& anchor);

} // namespace korvan::win
