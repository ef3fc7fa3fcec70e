#include "capture/ShapeMask.h"

#include "imaging/Status.h"

#include <algorithm>
#include <cmath>

namespace korvan {

using imaging::Bitmap;
using imaging::kSuccess;

bool IsDragShape(AreaShape type) { return type != AreaShape::Polygon && type != AreaShape::Freehand; }

Rect ShapeBounds(const Shape& shape) {
    if (shape.points.empty()) return {};
    if (IsDragShape(shape.type)) {
        Point a = shape.points.front(), b = shape.points.back();
        return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    }
    Rect r{shape.points[0].x, shape.points[0].y, shape.points[0].x, shape.points[0].y};
    for (Point p : shape.points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

std::vector<Point> ShapeCorners(const Shape& shape) {
    if (shape.type == AreaShape::Triangle) {
        Rect r = ShapeBounds(shape);
        return {{(r.left + r.right) / 2, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    }
    if (IsDragShape(shape.type)) {
        Rect r = ShapeBounds(shape);
        return {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    }
    return shape.points;
}

ShapeMask::ShapeMask(const Shape& shape) : bounds_(ShapeBounds(shape)) {
    if (bounds_.Empty()) {
        bounds_ = {};
        return;
    }
    inside_.assign(static_cast<size_t>(bounds_.Width()) * bounds_.Height(), 0);
    switch (shape.type) {
    case AreaShape::Rectangle: std::fill(inside_.begin(), inside_.end(), uint8_t{1}); break;
    case AreaShape::RoundRectangle: FillRoundRectangle(shape.cornerWidth, shape.cornerHeight); break;
    case AreaShape::Ellipse: FillEllipse(); break;
    case AreaShape::Triangle: FillPolygon(ShapeCorners(shape)); break;
    case AreaShape::Polygon:
    case AreaShape::Freehand: FillPolygon(shape.points); break;
    }
}

int ShapeMask::CountInside() const {
    return static_cast<int>(std::count(inside_.begin(), inside_.end(), uint8_t{1}));
}

// Scan-line fill with the non-zero winding rule, so a freehand path that crosses itself
// keeps every loop it encloses.
void ShapeMask::FillPolygon(const std::vector<Point>& corners) {
    if (corners.size() < 3) return;
    int width = bounds_.Width();
    std::vector<std::pair<double, int>> crossings;
    for (int row = 0; row < bounds_.Height(); ++row) {
        double y = bounds_.top + row + 0.5;
        crossings.clear();
        for (size_t i = 0; i < corners.size(); ++i) {
            Point a = corners[i], b = corners[(i + 1) % corners.size()];
            if (a.y == b.y) continue;
            bool upward = a.y < b.y;
            double y0 = upward ? a.y : b.y, y1 = upward ? b.y : a.y;
            if (y < y0 || y >= y1) continue;
            double x = a.x + (y - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y);
            crossings.emplace_back(x, upward ? 1 : -1);
        }
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        uint8_t* line = inside_.data() + static_cast<size_t>(row) * width;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].second;
            if (winding == 0) continue;
            // Pixels whose centre x + 0.5 lies in [from, to).
            double from = crossings[i].first - bounds_.left, to = crossings[i + 1].first - bounds_.left;
            int first = std::max(0, static_cast<int>(std::ceil(from - 0.5)));
            int last = std::min(width, static_cast<int>(std::ceil(to - 0.5)));
            for (int x = first; x < last; ++x) line[x] = 1;
        }
    }
}

void ShapeMask::FillEllipse() {
    int width = bounds_.Width(), height = bounds_.Height();
    double a = width / 2.0, b = height / 2.0;
    for (int row = 0; row < height; ++row) {
        double dy = (row + 0.5 - b) / b;
        uint8_t* line = inside_.data() + static_cast<size_t>(row) * width;
        for (int x = 0; x < width; ++x) {
            double dx = (x + 0.5 - a) / a;
            line[x] = dx * dx + dy * dy <= 1.0 ? 1 : 0;
        }
    }
}

// A rectangle whose corners are quarters of an ellipse of the given size (at most the
// rectangle's own size).
void ShapeMask::FillRoundRectangle(int cornerWidth, int cornerHeight) {
    int width = bounds_.Width(), height = bounds_.Height();
    double rx = std::clamp(cornerWidth, 0, width) / 2.0, ry = std::clamp(cornerHeight, 0, height) / 2.0;
    for (int row = 0; row < height; ++row) {
        uint8_t* line = inside_.data() + static_cast<size_t>(row) * width;
        double py = row + 0.5;
        double cy = std::clamp(py, ry, height - ry);
        for (int x = 0; x < width; ++x) {
            double px = x + 0.5;
            double cx = std::clamp(px, rx, width - rx);
            double dx = px - cx, dy = py - cy;
            bool inCorner = dx != 0.0 && dy != 0.0;
            line[x] = !inCorner || (dx * dx) / (rx * rx) + (dy * dy) / (ry * ry) <= 1.0 ? 1 : 0;
        }
    }
}

int CutImage(const PixelSource& source, const Rect& rect, const ShapeMask* mask, imaging::Rgb outside,
             Bitmap& out) {
    if (rect.Empty()) return imaging::kZeroAreaSize;
    if (Intersect(rect, source.bounds) != rect) return imaging::kCaptureAreaOutsideScreen;
    if (mask && mask->Bounds() != rect) return imaging::kInvalidParameter;
    Bitmap image;
    int status = Bitmap::Create(image, rect.Width(), rect.Height(), 24);
    if (status != kSuccess) return status;
    for (int row = 0; row < rect.Height(); ++row) {
        const uint8_t* from = source.bits + static_cast<size_t>(rect.top - source.bounds.top + row) * source.stride +
                              static_cast<size_t>(rect.left - source.bounds.left) * 4;
        uint8_t* to = image.Row(row);
        const uint8_t* inside = mask ? mask->Row(row) : nullptr;
        for (int x = 0; x < rect.Width(); ++x, from += 4, to += 3) {
            if (!inside || inside[x]) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
                continue;
            }
            to[0] = outside.b;
            to[1] = outside.g;
            to[2] = outside.r;
        }
    }
    out = std::move(image);
    return kSuccess;
}

} // namespace korvan
