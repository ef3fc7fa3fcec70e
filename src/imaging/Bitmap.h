#pragma once
// The imaging layer's bitmap: 1, 4, 8 (indexed), 16 (5-5-5), 24 (B,G,R) or 32 (B,G,R,X)
// bits per pixel. Rows run top-down; each row is padded to a multiple of 4 bytes,
// the layout of a device-independent bitmap, so rows can go to GDI unchanged.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvan::imaging {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

class Bitmap {
public:
    Bitmap() = default;

    // Allocates a zero-filled bitmap. Answers kSuccess, kInvalidBitsPerPixel,
    // kInvalidParameter (negative or zero size) or kImageTooLarge / kNoMemory.
    [[nodiscard]] static int Create(Bitmap& out, int width, int height, int bitsPerPixel);

    static bool IsSupportedDepth(int bitsPerPixel);
    static size_t StrideFor(int width, int bitsPerPixel);

    bool Empty() const { return width_ == 0 || height_ == 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bits_; }
    size_t Stride() const { return stride_; }
    size_t SizeBytes() const { return pixels_.size(); }

    uint8_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * stride_; }
    const uint8_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * stride_; }
    uint8_t* Data() { return pixels_.data(); }
    const uint8_t* Data() const { return pixels_.data(); }

    // Colour table of the indexed depths (2, 16 or 256 entries).
    std::vector<Rgb>& Palette() { return palette_; }
    const std::vector<Rgb>& Palette() const { return palette_; }

    // Reads or writes one pixel as a colour at any depth (slow path; indexed
    // depths write the index of the nearest palette entry).
    Rgb PixelAt(int x, int y) const;
    void SetPixel(int x, int y, Rgb c);

    void Reset() { *this = Bitmap(); }

private:
    int width_ = 0;
    int height_ = 0;
    int bits_ = 0;
    size_t stride_ = 0;
    std::vector<uint8_t> pixels_;
    std::vector<Rgb> palette_;
};

// The bitmap converted to 24 bits per pixel (a copy; 24-bit input is copied as is).
Bitmap ToRgb24(const Bitmap& source);

} // namespace korvan::imaging
