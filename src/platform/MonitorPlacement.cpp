#include "platform/MonitorPlacement.h"

#include <algorithm>

namespace korvan {
namespace {

long long OverlapArea(const ScreenRect& a, const ScreenRect& b) {
    long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
    long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

bool SameRect(const ScreenRect& a, const ScreenRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Slides [start, start + length) into [low, high); a longer span keeps its start at low.
int SlideInto(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

} // namespace

ScreenRect CentredIn(const ScreenRect& workArea, int width, int height) {
    int left = workArea.left + (workArea.Width() - width) / 2, top = workArea.top + (workArea.Height() - height) / 2;
    return KeptWithin({left, top, left + width, top + height}, workArea);
}

ScreenRect KeptWithin(const ScreenRect& rect, const ScreenRect& workArea) {
    int left = SlideInto(rect.left, rect.Width(), workArea.left, workArea.right);
    int top = SlideInto(rect.top, rect.Height(), workArea.top, workArea.bottom);
    return {left, top, left + rect.Width(), top + rect.Height()};
}

ScreenRect MovedOnto(const ScreenRect& rect, const ScreenRect& target, const std::vector<ScreenRect>& workAreas) {
    const ScreenRect* home = nullptr;
    long long most = 0;
    for (const ScreenRect& area : workAreas)
        if (long long overlap = OverlapArea(rect, area); overlap > most) {
            most = overlap;
            home = &area;
        }
    if (!home || SameRect(*home, target)) return KeptWithin(rect, target);
    int dx = target.left - home->left, dy = target.top - home->top;
    return KeptWithin({rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy}, target);
}

} // namespace korvan
