#pragma once
// A small anti-aliased drawing surface for the program's pictures (toolbar buttons,
// icons). Shapes are given in design units of a 32 x 32 grid and rendered at any size,
// so the pictures stay sharp at every DPI.
#include "imaging/Bitmap.h"

#include <utility>
#include <vector>

namespace korvan {

struct ArtColor {
    uint8_t r = 0, g = 0, b = 0, a = 255;
};

class ArtCanvas {
public:
    explicit ArtCanvas(int pixelSize);

    void FillRect(float x0, float y0, float x1, float y1, ArtColor c);
    void StrokeRect(float x0, float y0, float x1, float y1, float width, ArtColor c);
    void Line(float x0, float y0, float x1, float y1, float width, ArtColor c);
    void FillCircle(float cx, float cy, float radius, ArtColor c);
    void Ring(float cx, float cy, float radius, float width, ArtColor c);
    void FillPolygon(const std::vector<std::pair<float, float>>& points, ArtColor c);

    // 32 bits per pixel, B,G,R,A with straight (not premultiplied) alpha.
    imaging::Bitmap Resolve() const;

private:
    template <typename Inside> void Paint(float x0, float y0, float x1, float y1, ArtColor c, Inside inside);

    static constexpr int kSupersample = 4;
    int size_;
    int grid_;
    float unit_;  // supersampled pixels per design unit
    std::vector<float> rgba_;
};

} // namespace korvan
