#include "platform/win32/MonitorWorkArea.h"

#include "platform/win32/SystemLibrary.h"

#include <vector>

namespace korvan::win {
namespace {

ScreenRect ToScreenRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

std::vector<ScreenRect> WorkAreas() {
    std::vector<ScreenRect> areas;
    for (const DisplayMonitor& monitor : DisplayMonitors()) areas.push_back(monitor.workArea);
    return areas;
}

// The monitor's own DPI, looked up once: the call lives in shcore, which older systems lack.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
int DpiOfMonitor(HMONITOR monitor) {
    static GetDpiForMonitorFn function = [] {
        HMODULE module = LoadSystemLibrary(L"shcore.dll");
        return module ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(::GetProcAddress(module, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    if (function && SUCCEEDED(function(monitor, kEffectiveDpi, &x, &y)) && x) return static_cast<int>(x);
    return 96;
}

void MoveTo(HWND window, const ScreenRect& place) {
    ::SetWindowPos(window, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

std::vector<DisplayMonitor> DisplayMonitors() {
    std::vector<DisplayMonitor> monitors;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR handle, HDC, LPRECT rect, LPARAM data) -> BOOL {
            MONITORINFO info{sizeof(info)};
            if (!::GetMonitorInfoW(handle, &info)) info.rcWork = *rect;
            reinterpret_cast<std::vector<DisplayMonitor>*>(data)->push_back(
                {handle, ToScreenRect(*rect), ToScreenRect(info.rcWork)});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

std::vector<MonitorDpi> MonitorsWithDpi() {
    std::vector<MonitorDpi> monitors;
    for (const DisplayMonitor& monitor : DisplayMonitors()) monitors.push_back({monitor.bounds, DpiOfMonitor(monitor.handle)});
    return monitors;
}

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
