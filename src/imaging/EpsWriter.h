#pragma once
#include "imaging/ByteSink.h"
#include "imaging/Bitmap.h"

namespace korvan::imaging {

// Encapsulated PostScript: the image as 8-bit grey levels, one point per pixel, drawn with
// the level 1 image operator from hexadecimal data, so any interpreter renders it.
[[nodiscard]] int WriteEps(const Bitmap& bitmap, int bitsPerPixel, ByteSink& sink);

} // namespace korvan::imaging
