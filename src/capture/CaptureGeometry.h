#pragma once
// Screen geometry of the interactive capture, in physical pixels of the virtual screen
// (the union of all monitors; its origin is negative when a monitor lies left of or above
// the primary one).
#include <vector>

namespace korvan {

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Half-open: left and top inside, right and bottom outside.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

Rect Intersect(const Rect& a, const Rect& b);
// The smallest rectangle holding all given ones (the virtual screen from the monitors).
Rect Union(const std::vector<Rect>& rects);

// Maps between screen coordinates and positions in a grab of the virtual screen.
class VirtualScreen {
public:
    explicit VirtualScreen(Rect bounds) : bounds_(bounds) {}
    const Rect& Bounds() const { return bounds_; }
    Point ToGrab(Point screen) const { return {screen.x - bounds_.left, screen.y - bounds_.top}; }
    Point ToScreen(Point grab) const { return {grab.x + bounds_.left, grab.y + bounds_.top}; }
    Rect ToGrab(const Rect& screen) const;
    // The point moved onto the screen, so keyboard moves never leave it.
    Point Clamp(Point screen) const;
    // The rectangle clipped to the screen (empty when it lies outside).
    Rect Clip(const Rect& screen) const { return Intersect(screen, bounds_); }
    // The monitor holding the point, or the whole screen when none does.
    Rect MonitorAt(Point p, const std::vector<Rect>& monitors) const;

private:
    Rect bounds_;
};

// Where a box of the given size goes beside the pointer: on the side away from the
// anchor (below right of the pointer when it lies below right of the anchor, as while
// dragging from a start point), flipped to the other side where it would leave the area.
Rect PlaceBeside(Point pointer, int width, int height, int gap, const Rect& area, Point anchor);
inline Rect PlaceBeside(Point pointer, int width, int height, int gap, const Rect& area) {
    return PlaceBeside(pointer, width, height, gap, area, pointer);
}

} // namespace korvan
