#pragma once
// Scaling for display: a part of the zoomed image, rendered as 32-bit B,G,R,X rows.
#include "imaging/Bitmap.h"

#include <cstdint>
#include <vector>

namespace korvan::imaging {

struct ScaledView {
    int width = 0, height = 0;        // of the pixels below
    std::vector<uint32_t> pixels;     // top-down, 0x00RRGGBB
};

// Renders the region (x, y, w, h) of the source scaled to zoomedWidth x zoomedHeight.
// resample true averages all source pixels under each target pixel when shrinking
// (nothing is dropped); false takes the nearest source pixel.
ScaledView RenderScaledRegion(const Bitmap& source, int zoomedWidth, int zoomedHeight, int x, int y, int w, int h,
                              bool resample);

} // namespace korvan::imaging
