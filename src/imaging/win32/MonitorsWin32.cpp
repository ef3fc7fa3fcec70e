#include "imaging/win32/MonitorsWin32.h"

#include "platform/win32/MonitorWorkArea.h"

namespace korvan::imaging {

std::vector<ScreenRect> MonitorScreenRects() {
    std::vector<ScreenRect> monitors;
    for (const win::DisplayMonitor& monitor : win::DisplayMonitors()) monitors.push_back(monitor.bounds);
    return monitors;
}

void BlackenPartsOnNoMonitor(HDC grab, const ScreenRect& grabbed) {
    for (const ScreenRect& part : PartsOnNoMonitor(grabbed, MonitorScreenRects())) {
        RECT r{part.left - grabbed.left, part.top - grabbed.top, part.right - grabbed.left, part.bottom - grabbed.top};
        ::FillRect(grab, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
}

} // namespace korvan::imaging
