#pragma once
#include "imaging/ByteSink.h"
#include "imaging/Bitmap.h"

namespace korvan::imaging {

// Macintosh picture, version 2, after its 512-byte file header: 1/4/8 bits as an indexed
// pixel map with colour table, 24 bits as direct pixels, rows packed with PackBits.
// Wide images are drawn as several side-by-side tiles, since a pixel map row is limited.
[[nodiscard]] int WritePict(const Bitmap& bitmap, int bitsPerPixel, ByteSink& sink);

} // namespace korvan::imaging
