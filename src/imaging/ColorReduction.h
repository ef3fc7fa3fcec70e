#pragma once
// Turning the held image into what a file depth can carry: palette images (exact when
// the image has few enough colours, quantised and dithered otherwise), greyscale and
// black-and-white planes. Every result is one byte per pixel, rows top-down, no padding.
#include "imaging/Bitmap.h"

#include <cstdint>
#include <vector>

namespace korvan::imaging {

// Row y of a bitmap of any depth as R,G,B triplets (3 * width bytes).
void ReadRgbRow(const Bitmap& bitmap, int y, uint8_t* rgb);

// Luma with the usual weights (0.299, 0.587, 0.114), rounded.
inline uint8_t Luma(unsigned r, unsigned g, unsigned b) {
    return static_cast<uint8_t>((19595u * r + 38470u * g + 7471u * b + 32768u) >> 16);
}

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette;      // at most the asked number of entries
    std::vector<uint8_t> indices;  // width * height palette indices
    bool exact = false;            // every pixel kept its colour

    const uint8_t* Row(int y) const { return indices.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
};

// Reduces the bitmap to at most maxColors (2 to 256) colours. Answers kSuccess or kNoMemory.
[[nodiscard]] int ReduceColors(const Bitmap& bitmap, int maxColors, IndexedImage& out);

// Collects the bitmap's colours when it has no more than maxColors of them. Answers
// kSuccess, kFailure (out untouched) as soon as a further colour turns up, or kNoMemory.
[[nodiscard]] int FindExactPalette(const Bitmap& bitmap, int maxColors, IndexedImage& out);
// The same, answering only whether the exact palette was found.
[[nodiscard]] bool TryExactPalette(const Bitmap& bitmap, int maxColors, IndexedImage& out);

// Grey levels by luma, one byte per pixel. Answers kSuccess or kNoMemory.
[[nodiscard]] int ToGreyPlane(const Bitmap& bitmap, std::vector<uint8_t>& out);

// Black (0) and white (1) per pixel: a two-colour image maps its darker colour to black
// without dithering; anything else is dithered from its grey levels.
[[nodiscard]] int ToBlackWhite(const Bitmap& bitmap, std::vector<uint8_t>& out);

} // namespace korvan::imaging
