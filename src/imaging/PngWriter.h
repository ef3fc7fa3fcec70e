#pragma once
#include "imaging/ByteSink.h"
#include "imaging/Bitmap.h"

namespace korvan::imaging {

struct PngOptions {
    int threads = 0;        // 0: as many as the machine has, at most 8; the bytes do not depend on it
    bool findPalette = true; // write a 24-bit request with <= 256 colours as a palette image
};

// PNG: 24 bits as RGB (or, losslessly, as a palette image when the image has few colours),
// 1/4/8 bits as palette images.
[[nodiscard]] int WritePng(const Bitmap& bitmap, int bitsPerPixel, ByteSink& sink, const PngOptions& options = {});

// The PNG row filters (exposed so their fast forms can be checked against plain ones).
namespace png {
// Filters one row of `size` bytes with `bpp` bytes per pixel into out (which gets size + 1
// bytes: the filter type first). prev is the unfiltered row above, or null for the first.
void FilterRow(int type, const uint8_t* row, const uint8_t* prev, size_t size, int bpp, uint8_t* out);
// A filtered byte's cost: its absolute value (as a signed byte), but no more than this.
// Small values are common and their codes short; past a few steps all values are rare
// and cost alike, so an edge or a noisy pixel does not outweigh a whole smoother row.
constexpr int kCostCap = 8;
// Filters as FilterRow does and answers the sum of the filtered bytes' costs; stops,
// answering at least `limit`, once the sum reaches it.
size_t FilterAndCost(int type, const uint8_t* row, const uint8_t* prev, size_t size, int bpp, uint8_t* out, size_t limit);
// Chooses the filter with the least sum of costs, the first on ties.
int ChooseAndFilterRow(const uint8_t* row, const uint8_t* prev, size_t size, int bpp, uint8_t* out, uint8_t* scratch);
uint8_t Paeth(uint8_t a, uint8_t b, uint8_t c);
} // namespace png

} // namespace korvan::imaging
