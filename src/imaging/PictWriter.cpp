#include "imaging/PictWriter.h"

#include "imaging/ColorReduction.h"
#include "imaging/PackBits.h"
#include "imaging/Status.h"

#include <algorithm>

namespace korvan::imaging {
namespace {

constexpr int kMaxSide = 32767;          // coordinates are signed 16-bit
constexpr size_t kMaxRowBytes = 0x3FFE;  // a pixel map's row length field has 14 bits, kept even

enum Opcode : uint16_t {
    kOpClip = 0x0001,
    kOpVersion = 0x0011,
    kOpDefHilite = 0x001E,
    kOpPackBitsRect = 0x0098,
    kOpDirectBitsRect = 0x009A,
    kOpEndPic = 0x00FF,
    kOpHeader = 0x0C00,
};

void Rect(ByteWriter& out, int top, int left, int bottom, int right) {
    out.U16BE(static_cast<uint16_t>(top));
    out.U16BE(static_cast<uint16_t>(left));
    out.U16BE(static_cast<uint16_t>(bottom));
    out.U16BE(static_cast<uint16_t>(right));
}

class PictEncoder {
public:
    PictEncoder(const Bitmap& bitmap, int bits, const IndexedImage& indexed, ByteWriter& out)
        : bitmap_(bitmap), bits_(bits), indexed_(indexed), out_(out) {}

    // Answers kSuccess, or kNoMemory when a band could not be made.
    int Write() {
        const int w = bitmap_.Width(), h = bitmap_.Height();
        out_.Zeros(512);
        out_.U16BE(0);  // picture size: only the low 16 bits would fit, readers ignore it
        Rect(out_, 0, 0, h, w);
        out_.U16BE(kOpVersion);
        out_.U16BE(0x02FF);
        out_.U16BE(kOpHeader);
        out_.U16BE(0xFFFE);  // extended version 2 header
        out_.U16BE(0);
        out_.U32BE(0x00480000);  // 72 dpi as 16.16 fixed point
        out_.U32BE(0x00480000);
        Rect(out_, 0, 0, h, w);
        out_.U32BE(0);
        out_.U16BE(kOpDefHilite);
        out_.U16BE(kOpClip);
        out_.U16BE(10);
        Rect(out_, 0, 0, h, w);
        if (bits_ == 24 && w < kNarrowest) {
            int status = NarrowBands();
            if (status != kSuccess) return status;
        } else {
            const int pixelSize = bits_ == 24 ? 32 : bits_;
            const int tileWidth = static_cast<int>(std::min<size_t>(static_cast<size_t>(w), kMaxRowBytes * 8 / static_cast<size_t>(pixelSize)));
            for (int left = 0; left < w; left += tileWidth)
                Tile({left, std::min(w, left + tileWidth), 0, h}, bits_, indexed_, 0);
        }
        out_.U16BE(kOpEndPic);
        return kSuccess;
    }

private:
    struct Area {
        int left, right, top, bottom;
    };

    // Direct pixel rows narrower than this are read differently by different readers
    // (unpacked or packed); such images go out as exact palette bands instead.
    static constexpr int kNarrowest = 3;

    int NarrowBands() {
        const int w = bitmap_.Width(), h = bitmap_.Height();
        const int bandHeight = 256 / w;  // at most 256 pixels, so the palette is exact
        for (int top = 0; top < h; top += bandHeight) {
            const int bottom = std::min(h, top + bandHeight);
            Bitmap band;
            int status = Bitmap::Create(band, w, bottom - top, 24);
            if (status != kSuccess) return status;
            std::vector<uint8_t> rgb(static_cast<size_t>(w) * 3);
            for (int y = top; y < bottom; ++y) {
                ReadRgbRow(bitmap_, y, rgb.data());
                for (int x = 0; x < w; ++x)
                    band.SetPixel(x, y - top, {rgb[size_t(x) * 3], rgb[size_t(x) * 3 + 1], rgb[size_t(x) * 3 + 2]});
            }
            IndexedImage exact;
            status = FindExactPalette(band, 256, exact);
            if (status != kSuccess) return status;
            Tile({0, w, top, bottom}, 8, exact, top);
        }
        return kSuccess;
    }

    void PixMap(const Area& area, int bits, size_t rowBytes, int pixelSize) {
        out_.U16BE(static_cast<uint16_t>(rowBytes | 0x8000));
        Rect(out_, area.top, area.left, area.bottom, area.right);
        out_.U16BE(0);                        // version
        out_.U16BE(bits == 24 ? 4 : 0);       // packing: components separately, or PackBits
        out_.U32BE(0);
        out_.U32BE(0x00480000);
        out_.U32BE(0x00480000);
        out_.U16BE(bits == 24 ? 16 : 0);      // direct or indexed pixels
        out_.U16BE(static_cast<uint16_t>(pixelSize));
        out_.U16BE(bits == 24 ? 3 : 1);       // components
        out_.U16BE(bits == 24 ? 8 : static_cast<uint16_t>(pixelSize));
        out_.U32BE(0);
        out_.U32BE(0);
        out_.U32BE(0);
    }

    // One pixel map covering `area`; indexed rows are numbered from indexedTop.
    void Tile(const Area& area, int bits, const IndexedImage& indexed, int indexedTop) {
        const int left = area.left, tw = area.right - area.left;
        const int pixelSize = bits == 24 ? 32 : bits;
        size_t rowBytes = (static_cast<size_t>(tw) * static_cast<size_t>(pixelSize) + 15) / 16 * 2;
        if (bits == 24) {
            out_.U16BE(kOpDirectBitsRect);
            out_.U32BE(0x000000FF);  // base address placeholder of direct pixel maps
            PixMap(area, bits, rowBytes, pixelSize);
        } else {
            out_.U16BE(kOpPackBitsRect);
            PixMap(area, bits, rowBytes, pixelSize);
            out_.U32BE(0);  // colour table seed
            out_.U16BE(0);
            const size_t entries = 1u << bits;
            out_.U16BE(static_cast<uint16_t>(entries - 1));
            for (size_t i = 0; i < entries; ++i) {
                Rgb c = i < indexed.palette.size() ? indexed.palette[i] : Rgb{};
                out_.U16BE(static_cast<uint16_t>(i));
                out_.U16BE(static_cast<uint16_t>(c.r * 257));
                out_.U16BE(static_cast<uint16_t>(c.g * 257));
                out_.U16BE(static_cast<uint16_t>(c.b * 257));
            }
        }
        Rect(out_, area.top, area.left, area.bottom, area.right);  // source
        Rect(out_, area.top, area.left, area.bottom, area.right);  // destination
        out_.U16BE(0);                                             // copy mode
        size_t written = 0;
        std::vector<uint8_t> rgb(static_cast<size_t>(bitmap_.Width()) * 3), row(rowBytes), packed;
        for (int y = area.top; y < area.bottom; ++y) {
            std::fill(row.begin(), row.end(), 0);
            size_t used = rowBytes;
            if (bits == 24) {
                // Rows hold the red, green and blue planes one after another.
                ReadRgbRow(bitmap_, y, rgb.data());
                used = static_cast<size_t>(tw) * 3;
                for (int x = 0; x < tw; ++x)
                    for (int k = 0; k < 3; ++k) row[size_t(k) * size_t(tw) + size_t(x)] = rgb[size_t(left + x) * 3 + size_t(k)];
            } else {
                const uint8_t* src = indexed.Row(y - indexedTop) + left;
                const int perByte = 8 / bits;
                for (int x = 0; x < tw; ++x) row[size_t(x / perByte)] |= static_cast<uint8_t>(src[x] << (8 - bits * (x % perByte + 1)));
            }
            if (rowBytes < 8) {
                out_.Bytes(row.data(), rowBytes);
                written += rowBytes;
                continue;
            }
            packed.clear();
            size_t n = PackBits(row.data(), used, packed);
            if (rowBytes > 250) { out_.U16BE(static_cast<uint16_t>(n)); written += 2; }
            else { out_.U8(static_cast<uint8_t>(n)); written += 1; }
            out_.Bytes(packed.data(), n);
            written += n;
        }
        if (written & 1) out_.U8(0);  // opcodes start on even offsets
    }

    const Bitmap& bitmap_;
    int bits_;
    const IndexedImage& indexed_;
    ByteWriter& out_;
};

} // namespace

int WritePict(const Bitmap& bitmap, int bitsPerPixel, ByteSink& sink) {
    if (bitmap.Empty()) return kInvalidBitmap;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24) return kInvalidBitsPerPixel;
    if (bitmap.Width() > kMaxSide || bitmap.Height() > kMaxSide) return kImageTooLarge;
    IndexedImage indexed;
    if (bitsPerPixel != 24) {
        int status = ReduceColors(bitmap, 1 << bitsPerPixel, indexed);
        if (status != kSuccess) return status;
    }
    ByteWriter out(sink);
    int status = PictEncoder(bitmap, bitsPerPixel, indexed, out).Write();
    if (status != kSuccess) return status;
    return out.Flush() ? kSuccess : kErrorWriting;
}

} // namespace korvan::imaging
