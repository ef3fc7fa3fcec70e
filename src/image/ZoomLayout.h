#pragma once
// Where a zoomed image lies in the image control's client area.

namespace korvan {

struct DisplayRect {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const DisplayRect&, const DisplayRect&) = default;
};

struct ZoomLayoutInput {
    int imageWidth = 0, imageHeight = 0;     // displayed size of the held image; 0 when empty
    double zoomX = 1.0, zoomY = 1.0;         // 1.0 is 100 %
    int clientWidth = 0, clientHeight = 0;
    bool center = true;
};

struct ZoomLayoutResult {
    DisplayRect rect;
    int maxScrollX = 0, maxScrollY = 0;
};

// Lays out the image: size rounded halves-to-even (a zoom of exactly 0 gives 1 pixel),
// scroll positions clamped into range (they are updated in place), origin from the
// scroll positions, and centring on each axis where the image is smaller than the client.
ZoomLayoutResult LayoutZoom(const ZoomLayoutInput& in, int& scrollX, int& scrollY);

} // namespace korvan
