#include "imaging/Bitmap.h"

#include "imaging/Status.h"

#include <limits>
#include <new>

namespace korvan::imaging {
namespace {

// Largest pixel buffer we agree to allocate (2 GiB): beyond it sizes overflow 32-bit
// fields of every file format we write.
constexpr uint64_t kMaxBytes = uint64_t{1} << 31;

std::vector<Rgb> GreyPalette(int entries) {
    std::vector<Rgb> palette(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        auto v = static_cast<uint8_t>(i * 255 / (entries - 1));
        palette[static_cast<size_t>(i)] = {v, v, v};
    }
    return palette;
}

int NearestIndex(const std::vector<Rgb>& palette, Rgb c) {
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (size_t i = 0; i < palette.size(); ++i) {
        int dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) { bestDistance = d; best = static_cast<int>(i); }
    }
    return best;
}

} // namespace

bool Bitmap::IsSupportedDepth(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: return true;
    default: return false;
    }
}

size_t Bitmap::StrideFor(int width, int bitsPerPixel) {
    return ((static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) + 31) / 32) * 4;
}

int Bitmap::Create(Bitmap& out, int width, int height, int bitsPerPixel) {
    if (!IsSupportedDepth(bitsPerPixel)) return kInvalidBitsPerPixel;
    if (width <= 0 || height <= 0) return kInvalidParameter;
    size_t stride = StrideFor(width, bitsPerPixel);
    if (static_cast<uint64_t>(stride) * static_cast<uint64_t>(height) > kMaxBytes) return kImageTooLarge;
    Bitmap bitmap;
    try {
        bitmap.pixels_.assign(stride * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
    bitmap.width_ = width;
    bitmap.height_ = height;
    bitmap.bits_ = bitsPerPixel;
    bitmap.stride_ = stride;
    if (bitsPerPixel <= 8) bitmap.palette_ = GreyPalette(1 << bitsPerPixel);
    out = std::move(bitmap);
    return kSuccess;
}

Rgb Bitmap::PixelAt(int x, int y) const {
    const uint8_t* row = Row(y);
    switch (bits_) {
    case 1: return palette_[(row[x >> 3] >> (7 - (x & 7))) & 1];
    case 4: return palette_[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
    case 8: return palette_[row[x]];
    case 16: {
        unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
        auto expand = [](unsigned five) { return static_cast<uint8_t>((five << 3) | (five >> 2)); };
        return {expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31)};
    }
    case 24: return {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    case 32: return {row[4 * x + 2], row[4 * x + 1], row[4 * x]};
    default: return {};
    }
}

void Bitmap::SetPixel(int x, int y, Rgb c) {
    uint8_t* row = Row(y);
    switch (bits_) {
    case 1: {
        auto bit = static_cast<uint8_t>(0x80 >> (x & 7));
        if (NearestIndex(palette_, c)) row[x >> 3] |= bit; else row[x >> 3] &= static_cast<uint8_t>(~bit);
        break;
    }
    case 4: {
        auto index = static_cast<uint8_t>(NearestIndex(palette_, c));
        uint8_t& byte = row[x >> 1];
        byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0) | index) : static_cast<uint8_t>((byte & 0x0F) | (index << 4));
        break;
    }
    case 8: row[x] = static_cast<uint8_t>(NearestIndex(palette_, c)); break;
    case 16: {
        unsigned v = ((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3);
        row[2 * x] = static_cast<uint8_t>(v);
        row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        break;
    }
    case 24: row[3 * x] = c.b; row[3 * x + 1] = c.g; row[3 * x + 2] = c.r; break;
    case 32: row[4 * x] = c.b; row[4 * x + 1] = c.g; row[4 * x + 2] = c.r; row[4 * x + 3] = 0; break;
    default: break;
    }
}

Bitmap ToRgb24(const Bitmap& source) {
    if (source.Empty() || source.BitsPerPixel() == 24) return source;
    Bitmap out;
    if (Bitmap::Create(out, source.Width(), source.Height(), 24) != kSuccess) return {};
    for (int y = 0; y < source.Height(); ++y) {
        uint8_t* dst = out.Row(y);
        if (source.BitsPerPixel() == 32) {
            const uint8_t* src = source.Row(y);
            for (int x = 0; x < source.Width(); ++x, src += 4, dst += 3) {
                dst[0] = src[0]; dst[1] = src[1]; dst[2] = src[2];
            }
            continue;
        }
        for (int x = 0; x < source.Width(); ++x, dst += 3) {
            Rgb c = source.PixelAt(x, y);
            dst[0] = c.b; dst[1] = c.g; dst[2] = c.r;
        }
    }
    return out;
}

} // namespace korvan::imaging
