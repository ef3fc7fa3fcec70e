#include "platform/win32/MonitorWorkArea.h"

#include <vector>

namespace korvan::win {
namespace {

ScreenRect ToScreenRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

std::vector<ScreenRect> WorkAreas() {
    std::vector<ScreenRect> areas;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            MONITORINFO info{sizeof(info)};
            if (::GetMonitorInfoW(monitor, &info))
                reinterpret_cast<std::vector<ScreenRect>*>(data)->push_back(ToScreenRect(info.rcWork));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&areas));
    return areas;
}

void MoveTo(HWND window, const ScreenRect& place) {
    ::SetWindowPos(window, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

ScreenRect WindowRectOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return ToScreenRect(rect);
}

ScreenRect WorkAreaAt(const ScreenRect& rect) {
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    MONITORINFO info{sizeof(info)};
    if (!::GetMonitorInfoW(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return rect;
    return ToScreenRect(info.rcWork);
}

void CentreOnMonitorOf(HWND window, HWND anchor) {
    ScreenRect rect = WindowRectOf(window);
    MoveTo(window, CentredIn(WorkAreaAt(WindowRectOf(anchor)), rect.Width(), rect.Height()));
}

void MoveOntoMonitorAt(HWND window, const ScreenRect& anchor) {
    MoveTo(window, MovedOnto(WindowRectOf(window), WorkAreaAt(anchor), WorkAreas()));
}

} // namespace korvan::win
