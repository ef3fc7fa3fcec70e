#include "platform/MonitorDpi.h"

#include <algorithm>
#include <cstdlib>

namespace korvan {
namespace {

long long DistanceSquared(int x, int y, const ScreenRect& r) {
    long long dx = std::max({0, r.left - x, x - (r.right - 1)});
    long long dy = std::max({0, r.top - y, y - (r.bottom - 1)});
    return dx * dx + dy * dy;
}

} // namespace

int ScaleForDpi(int designed, int dpi) {
    long long product = static_cast<long long>(designed) * dpi;
    long long rounded = (std::llabs(product) + 48) / 96;
    return static_cast<int>(product < 0 ? -rounded : rounded);
}

int DpiAt(int x, int y, const std::vector<MonitorDpi>& monitors) {
    const MonitorDpi* nearest = nullptr;
    for (const MonitorDpi& monitor : monitors)
        if (!nearest || DistanceSquared(x, y, monitor.bounds) < DistanceSquared(x, y, nearest->bounds))
            nearest = &monitor;
    return nearest ? nearest->dpi : 96;
}

ScreenRect PlaceAfterDpiChange(const DpiChange& change) {
    int width = change.suggested.Width(), height = change.suggested.Height(), top = change.before.top;
    bool away = change.placedAt ? *change.placedAt + change.before.Width() <= change.virtualLeft : change.outOfSight;
    if (away) return {change.virtualLeft - width, top, change.virtualLeft, top + height};
    if (change.placedAt) return {*change.placedAt, top, *change.placedAt + width, top + height};
    return change.suggested;
}

} // namespace korvan
