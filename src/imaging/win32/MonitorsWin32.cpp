#include "imaging/win32/MonitorsWin32.h"

namespace korvan::imaging {

std::vector<ScreenRect> MonitorScreenRects() {
    std::vector<ScreenRect> monitors;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR, HDC, LPRECT rect, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<ScreenRect>*>(data)->push_back({rect->left, rect->top, rect->right, rect->bottom});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

void BlackenPartsOnNoMonitor(HDC grab, const ScreenRect& grabbed) {
    for (const ScreenRect& part : PartsOnNoMonitor(grabbed, MonitorScreenRects())) {
        RECT r{part.left - grabbed.left, part.top - grabbed.top, part.right - grabbed.left, part.bottom - grabbed.top};
        ::FillRect(grab, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
}

} // namespace korvan::imaging
