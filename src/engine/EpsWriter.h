#pragma once
#include "engine/ByteSink.h"
#include "engine/SdkBitmap.h"

namespace korvan::sdk {

// Encapsulated PostScript: the image as 8-bit grey levels, one point per pixel, drawn with
// the level 1 image operator from hexadecimal data, so any interpreter renders it.
[[nodiscard]] int WriteEps(const SdkBitmap& bitmap, int bitsPerPixel, ByteSink& sink);

} // namespace korvan::sdk
