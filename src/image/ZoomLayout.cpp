#include "image/ZoomLayout.h"

#include "imaging/Rounding.h"

#include <algorithm>

namespace korvan {
namespace {

int ZoomedSize(int size, double zoom) {
    if (zoom == 0.0) return 1;
    return static_cast<int>(RoundHalfEven(size * zoom));
}

} // namespace

ZoomLayoutResult LayoutZoom(const ZoomLayoutInput& in, int& scrollX, int& scrollY) {
    ZoomLayoutResult out;
    if (in.imageWidth <= 0 || in.imageHeight <= 0) {
        scrollX = scrollY = 0;
        return out;
    }
    out.rect.width = ZoomedSize(in.imageWidth, in.zoomX);
    out.rect.height = ZoomedSize(in.imageHeight, in.zoomY);
    out.maxScrollX = std::max(0, out.rect.width - in.clientWidth);
    out.maxScrollY = std::max(0, out.rect.height - in.clientHeight);
    scrollX = std::clamp(scrollX, 0, out.maxScrollX);
    scrollY = std::clamp(scrollY, 0, out.maxScrollY);
    out.rect.left = -scrollX;
    out.rect.top = -scrollY;
    if (in.center) {
        if (out.rect.width < in.clientWidth) out.rect.left = in.clientWidth / 2 - out.rect.width / 2;
        if (out.rect.height < in.clientHeight)
            out.rect.top = static_cast<int>(in.clientHeight / 2.0 - out.rect.height / 2.0);
    }
    return out;
}

} // namespace korvan
