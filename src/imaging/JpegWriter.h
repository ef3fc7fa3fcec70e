#pragma once
#include "imaging/ByteSink.h"
#include "imaging/Bitmap.h"

#include <cstdint>

namespace korvan::imaging {

// The percent on the usual 1-100 quality scale for the imaging layer's quality factor
// (2 best to 255 strongest compression), as the save dialog shows it, at least 1.
int JpegQualityPercent(int qualityFactor);

// Baseline JPEG with optimised Huffman tables: 24 bits as YCbCr without subsampling,
// 8 bits as greyscale. Answers kInvalidQFactor outside 2 to 255.
[[nodiscard]] int WriteJpeg(const Bitmap& bitmap, int bitsPerPixel, int qualityFactor, ByteSink& sink);

namespace jpeg {
// The standard quantisation table scaled to a percent, in natural (row-major) order.
void ScaledTable(bool chroma, int percent, uint16_t out[64]);
// Forward DCT of one block (level-shifted samples in, row-major); the result is scaled by
// 8 * s(u) * s(v) with s(0) = 1 and s(k) = cos(k pi / 16) * sqrt(2).
void ForwardDct(float block[64]);
extern const uint8_t kZigzag[64];  // natural index of each zigzag position
} // namespace jpeg

} // namespace korvan::imaging
