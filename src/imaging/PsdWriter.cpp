#include "imaging/PsdWriter.h"

#include "imaging/ColorReduction.h"
#include "imaging/PackBits.h"
#include "imaging/Status.h"

#include <functional>

namespace korvan::imaging {
namespace {

constexpr int kMaxSide = 30000;  // the format's limit

enum Mode : uint16_t { kBitmapMode = 0, kIndexedMode = 2, kRgbMode = 3 };

} // namespace

int WritePsd(const Bitmap& bitmap, int bitsPerPixel, ByteSink& sink) {
    if (bitmap.Empty()) return kInvalidBitmap;
    if (bitsPerPixel != 1 && bitsPerPixel != 8 && bitsPerPixel != 24) return kInvalidBitsPerPixel;
    if (bitmap.Width() > kMaxSide || bitmap.Height() > kMaxSide) return kImageTooLarge;
    const int w = bitmap.Width(), h = bitmap.Height();

    std::vector<uint8_t> blackWhite;
    IndexedImage indexed;
    int status = kSuccess;
    if (bitsPerPixel == 1) status = ToBlackWhite(bitmap, blackWhite);
    if (bitsPerPixel == 8) status = ReduceColors(bitmap, 256, indexed);
    if (status != kSuccess) return status;

    const int channels = bitsPerPixel == 24 ? 3 : 1;
    const size_t rowBytes = bitsPerPixel == 1 ? (static_cast<size_t>(w) + 7) / 8 : static_cast<size_t>(w);
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * 3), plane(rowBytes);
    // One channel's row as stored: bitmap mode has 1 for black.
    auto channelRow = [&](int channel, int y) {
        if (bitsPerPixel == 1) {
            std::fill(plane.begin(), plane.end(), 0);
            const uint8_t* src = blackWhite.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
            for (int x = 0; x < w; ++x)
                if (!src[x]) plane[size_t(x) / 8] |= static_cast<uint8_t>(0x80 >> (x & 7));
        } else if (bitsPerPixel == 8) {
            const uint8_t* src = indexed.Row(y);
            plane.assign(src, src + w);
        } else {
            ReadRgbRow(bitmap, y, rgb.data());
            for (int x = 0; x < w; ++x) plane[size_t(x)] = rgb[size_t(x) * 3 + size_t(channel)];
        }
    };

    ByteWriter out(sink);
    out.Bytes("8BPS", 4);
    out.U16BE(1);
    out.Zeros(6);
    out.U16BE(static_cast<uint16_t>(channels));
    out.U32BE(static_cast<uint32_t>(h));
    out.U32BE(static_cast<uint32_t>(w));
    out.U16BE(bitsPerPixel == 1 ? 1 : 8);
    out.U16BE(bitsPerPixel == 1 ? kBitmapMode : bitsPerPixel == 8 ? kIndexedMode : kRgbMode);
    if (bitsPerPixel == 8) {
        // Colour table: 256 reds, then greens, then blues.
        out.U32BE(768);
        for (int k = 0; k < 3; ++k)
            for (size_t i = 0; i < 256; ++i) {
                Rgb c = i < indexed.palette.size() ? indexed.palette[i] : Rgb{};
                out.U8(k == 0 ? c.r : k == 1 ? c.g : c.b);
            }
    } else {
        out.U32BE(0);
    }
    out.U32BE(0);  // no image resources
    out.U32BE(0);  // no layers
    out.U16BE(1);  // RLE
    // The packed length of every row of every channel comes first, so pack twice rather
    // than hold the whole packed image.
    std::vector<uint8_t> packed;
    for (int c = 0; c < channels; ++c)
        for (int y = 0; y < h; ++y) {
            channelRow(c, y);
            packed.clear();
            out.U16BE(static_cast<uint16_t>(PackBits(plane.data(), rowBytes, packed)));
        }
    for (int c = 0; c < channels; ++c)
        for (int y = 0; y < h; ++y) {
            channelRow(c, y);
            packed.clear();
            PackBits(plane.data(), rowBytes, packed);
            out.Bytes(packed.data(), packed.size());
        }
    return out.Flush() ? kSuccess : kErrorWriting;
}

} // namespace korvan::imaging
