#include "imaging/BmpWriter.h"

#include "imaging/ColorReduction.h"
#include "imaging/Status.h"

#include <cstring>

namespace korvan::imaging {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

uint8_t To5(uint8_t v) { return static_cast<uint8_t>((v * 31 + 127) / 255); }

// Builds the file's row y (top-down numbering) in the chosen depth.
void BuildRow(const Bitmap& bitmap, const IndexedImage& indexed, int bits, int y, uint8_t* rgb, uint8_t* out,
              size_t stride) {
    std::memset(out, 0, stride);
    const int w = bitmap.Width();
    if (bits <= 8) {
        const uint8_t* src = indexed.Row(y);
        const int perByte = 8 / bits;
        for (int x = 0; x < w; ++x) out[x / perByte] |= static_cast<uint8_t>(src[x] << (8 - bits * (x % perByte + 1)));
        return;
    }
    ReadRgbRow(bitmap, y, rgb);
    for (int x = 0; x < w; ++x) {
        const uint8_t* p = rgb + static_cast<size_t>(x) * 3;
        switch (bits) {
        case 16: {
            unsigned v = unsigned{To5(p[0])} << 10 | unsigned{To5(p[1])} << 5 | To5(p[2]);
            out[2 * x] = static_cast<uint8_t>(v);
            out[2 * x + 1] = static_cast<uint8_t>(v >> 8);
            break;
        }
        case 24: out[3 * x] = p[2]; out[3 * x + 1] = p[1]; out[3 * x + 2] = p[0]; break;
        default: out[4 * x] = p[2]; out[4 * x + 1] = p[1]; out[4 * x + 2] = p[0]; break;
        }
    }
}

} // namespace

int WriteBmp(const Bitmap& bitmap, int bitsPerPixel, ByteSink& sink) {
    if (bitmap.Empty()) return kInvalidBitmap;
    if (!Bitmap::IsSupportedDepth(bitsPerPixel)) return kInvalidBitsPerPixel;
    const size_t stride = Bitmap::StrideFor(bitmap.Width(), bitsPerPixel);
    const uint32_t tableEntries = bitsPerPixel <= 8 ? (1u << bitsPerPixel) : 0;
    const uint64_t imageSize = static_cast<uint64_t>(stride) * static_cast<uint64_t>(bitmap.Height());
    const uint64_t offset = kFileHeaderSize + kInfoHeaderSize + uint64_t{tableEntries} * 4;
    const uint64_t fileSize = offset + imageSize;
    if (fileSize > 0xFFFFFFFFull) return kImageTooLarge;

    IndexedImage indexed;
    if (bitsPerPixel <= 8) {
        int status = ReduceColors(bitmap, 1 << bitsPerPixel, indexed);
        if (status != kSuccess) return status;
    }

    ByteWriter out(sink);
    out.Bytes("BM", 2);
    out.U32LE(static_cast<uint32_t>(fileSize));
    out.U32LE(0);
    out.U32LE(static_cast<uint32_t>(offset));
    out.U32LE(kInfoHeaderSize);
    out.U32LE(static_cast<uint32_t>(bitmap.Width()));
    out.U32LE(static_cast<uint32_t>(bitmap.Height()));
    out.U16LE(1);
    out.U16LE(static_cast<uint16_t>(bitsPerPixel));
    out.U32LE(0);  // BI_RGB
    out.U32LE(static_cast<uint32_t>(imageSize));
    out.U32LE(3780);  // 96 dpi in pixels per metre
    out.U32LE(3780);
    out.U32LE(tableEntries);
    out.U32LE(0);
    for (uint32_t i = 0; i < tableEntries; ++i) {
        Rgb c = i < indexed.palette.size() ? indexed.palette[i] : Rgb{};
        out.U8(c.b);
        out.U8(c.g);
        out.U8(c.r);
        out.U8(0);
    }
    std::vector<uint8_t> rgb(static_cast<size_t>(bitmap.Width()) * 3), row(stride);
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        BuildRow(bitmap, indexed, bitsPerPixel, y, rgb.data(), row.data(), stride);
        out.Bytes(row.data(), stride);
    }
    return out.Flush() ? kSuccess : kErrorWriting;
}

} // namespace korvan::imaging
