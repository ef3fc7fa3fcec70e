#pragma once
// The shapes of an area capture as pixel masks. A pixel belongs to a shape when its
// centre lies inside it; corner coordinates are pixel edges, so a rectangle dragged from
// (10, 10) to (20, 15) holds the pixels 10 to 19 by 10 to 14.
#include "capture/CaptureGeometry.h"
#include "capture/CaptureSettings.h"
#include "imaging/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvan {

struct Shape {
    AreaShape type = AreaShape::Rectangle;
    std::vector<Point> points;  // drag shapes: start and end of the drag; others: the corners or path
    int cornerWidth = 0;        // the corner ellipse of a round rectangle
    int cornerHeight = 0;
};

// Triangle, rectangle, round rectangle and ellipse are dragged from one corner of their
// box to the other; polygon and freehand follow their points.
bool IsDragShape(AreaShape type);

// The rectangle the result covers: the drag's box, or the box of all corners.
Rect ShapeBounds(const Shape& shape);

// The corners a triangle, polygon or freehand shape is drawn through (triangle: apex at
// the top centre of the box, then bottom right and bottom left).
std::vector<Point> ShapeCorners(const Shape& shape);

class ShapeMask {
public:
    explicit ShapeMask(const Shape& shape);
    const Rect& Bounds() const { return bounds_; }
    // x and y relative to the bounds' top left.
    bool Inside(int x, int y) const { return inside_[static_cast<size_t>(y) * bounds_.Width() + x] != 0; }
    const uint8_t* Row(int y) const { return inside_.data() + static_cast<size_t>(y) * bounds_.Width(); }
    int CountInside() const;

private:
    void FillPolygon(const std::vector<Point>& corners);
    void FillEllipse();
    void FillRoundRectangle(int cornerWidth, int cornerHeight);

    Rect bounds_;
    std::vector<uint8_t> inside_;
};

// 32-bit B,G,R,X pixels, rows top-down, covering a rectangle of the screen.
struct PixelSource {
    const uint8_t* bits = nullptr;
    size_t stride = 0;
    Rect bounds;
};

// Copies the rectangle (screen pixels, inside the source) into a new 24-bit bitmap. With
// a mask (whose bounds are the rectangle), pixels outside the shape get the outside colour.
int CutImage(const PixelSource& source, const Rect& rect, const ShapeMask* mask, imaging::Rgb outside,
             imaging::Bitmap& out);

} // namespace korvan
