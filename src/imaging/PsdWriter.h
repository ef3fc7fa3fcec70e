#pragma once
#include "imaging/ByteSink.h"
#include "imaging/Bitmap.h"

namespace korvan::imaging {

// Photoshop document, one flattened image, RLE-compressed channels: 1 bit as bitmap mode,
// 8 bits as indexed colour, 24 bits as RGB.
[[nodiscard]] int WritePsd(const Bitmap& bitmap, int bitsPerPixel, ByteSink& sink);

} // namespace korvan::imaging
