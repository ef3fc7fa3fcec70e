#pragma once
#include "engine/ByteSink.h"
#include "engine/SdkBitmap.h"

namespace korvan::sdk {

// Photoshop document, one flattened image, RLE-compressed channels: 1 bit as bitmap mode,
// 8 bits as indexed colour, 24 bits as RGB.
[[nodiscard]] int WritePsd(const SdkBitmap& bitmap, int bitsPerPixel, ByteSink& sink);

} // namespace korvan::sdk
