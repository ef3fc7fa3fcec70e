#pragma once
// The six shapes of an area capture as pixel masks. A pixel belongs to a shape when its
// centre lies inside it; corner coordinates are pixel edges, so a rectangle dragged from
// (10, 10) to (20, 15) holds the pixels 10 to 19 by 10 to 14.
#include "capture/CaptureGeometry.h"
#include "imaging/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvan::imaging {

struct Shape {
    int areaType = 0;           // 1 triangle ... 6 freehand
    std::vector<Point> points;  // drag shapes: start and end of the drag; others: the corners or path
    int ellipseWidth = 0;       // corner ellipse of a round rectangle
    int ellipseHeight = 0;
};

bool IsDragShape(int areaType);

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
    void FillRoundRectangle(int ellipseWidth, int ellipseHeight);

    Rect bounds_;
    std::vector<uint8_t> inside_;
};

// 32-bit B,G,R,X pixels, rows top-down, covering a rectangle of the screen.
struct PixelSource {
    const uint8_t* bits = nullptr;
    size_t stride = 0;
    Rect bounds;
};

// How the outside of a shape is painted in a region bitmap: the back colour, with lines
// of the fore colour when the pattern is a hatch (8-pixel grid anchored at the screen's
// origin, so neighbouring captures match).
struct OutsideFill {
    int32_t pattern = 6;  // solid
    uint32_t foreColor = 0x000000;
    uint32_t backColor = 0xFFFFFF;
};
bool OnHatchLine(int32_t pattern, int x, int y);

// Copies the rectangle (screen pixels, inside the source) into a new 24-bit bitmap. With
// a mask (whose bounds are the rectangle), pixels outside the shape get the fill.
int CutImage(const PixelSource& source, const Rect& rect, const ShapeMask* mask, const OutsideFill& fill,
             Bitmap& out);

} // namespace korvan::imaging
