#include "capture/CaptureGeometry.h"

#include <algorithm>

namespace korvan {

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.Empty()) return {};
    return r;
}

Rect Union(const std::vector<Rect>& rects) {
    Rect result;
    bool first = true;
    for (const Rect& r : rects) {
        if (r.Empty()) continue;
        if (first) {
            result = r;
            first = false;
            continue;
        }
        result = {std::min(result.left, r.left), std::min(result.top, r.top), std::max(result.right, r.right),
                  std::max(result.bottom, r.bottom)};
    }
    return result;
}

Rect VirtualScreen::ToGrab(const Rect& screen) const {
    return {screen.left - bounds_.left, screen.top - bounds_.top, screen.right - bounds_.left,
            screen.bottom - bounds_.top};
}

Point VirtualScreen::Clamp(Point p) const {
    if (bounds_.Empty()) return p;
    return {std::clamp(p.x, bounds_.left, bounds_.right - 1), std::clamp(p.y, bounds_.top, bounds_.bottom - 1)};
}

Rect VirtualScreen::MonitorAt(Point p, const std::vector<Rect>& monitors) const {
    for (const Rect& monitor : monitors)
        if (monitor.Contains(p)) return monitor;
    return bounds_;
}

Rect PlaceBeside(Point pointer, int width, int height, int gap, const Rect& area, Point anchor) {
    int right = pointer.x + gap, leftOf = pointer.x - gap - width;
    int below = pointer.y + gap, above = pointer.y - gap - height;
    int left = pointer.x < anchor.x ? leftOf : right;
    int top = pointer.y < anchor.y ? above : below;
    if (left + width > area.right) left = leftOf;
    if (left < area.left) left = right;
    if (top + height > area.bottom) top = above;
    if (top < area.top) top = below;
    left = std::max(left, area.left);
    top = std::max(top, area.top);
    return {left, top, left + width, top + height};
}

} // namespace korvan
