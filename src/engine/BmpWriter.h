#pragma once
#include "engine/ByteSink.h"
#include "engine/SdkBitmap.h"

namespace korvan::sdk {

// Windows BMP, uncompressed, bottom-up rows.
[[nodiscard]] int WriteBmp(const SdkBitmap& bitmap, int bitsPerPixel, ByteSink& sink);

} // namespace korvan::sdk
