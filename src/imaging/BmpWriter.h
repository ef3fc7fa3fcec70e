#pragma once
#include "imaging/ByteSink.h"
#include "imaging/Bitmap.h"

namespace korvan::imaging {

// Windows BMP, uncompressed, bottom-up rows: 1/4/8 bits with a colour table, 16 bits as
// 5-5-5, 24 bits as B,G,R, 32 bits as B,G,R and an unused byte.
[[nodiscard]] int WriteBmp(const Bitmap& bitmap, int bitsPerPixel, ByteSink& sink);

} // namespace korvan::imaging
