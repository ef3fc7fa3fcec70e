#include "engine/BmpWriter.h"

#include "engine/SdkStatus.h"

namespace korvan::sdk {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

} // namespace

int WriteBmp(const SdkBitmap& bitmap, int bitsPerPixel, ByteSink& sink) {
    if (bitmap.Empty()) return kInvalidBitmap;
    if (bitsPerPixel != 24) return kInvalidBitsPerPixel;
    SdkBitmap rgb = ToRgb24(bitmap);
    if (rgb.Empty()) return kNoMemory;
    uint64_t imageSize = static_cast<uint64_t>(rgb.Stride()) * static_cast<uint64_t>(rgb.Height());
    uint64_t fileSize = kFileHeaderSize + kInfoHeaderSize + imageSize;
    if (fileSize > 0xFFFFFFFFull) return kImageTooLarge;

    ByteWriter out(sink);
    out.Bytes("BM", 2);
    out.U32LE(static_cast<uint32_t>(fileSize));
    out.U32LE(0);
    out.U32LE(kFileHeaderSize + kInfoHeaderSize);
    out.U32LE(kInfoHeaderSize);
    out.U32LE(static_cast<uint32_t>(rgb.Width()));
    out.U32LE(static_cast<uint32_t>(rgb.Height()));
    out.U16LE(1);
    out.U16LE(24);
    out.U32LE(0);  // BI_RGB
    out.U32LE(static_cast<uint32_t>(imageSize));
    out.U32LE(3780);  // 96 dpi in pixels per metre
    out.U32LE(3780);
    out.U32LE(0);
    out.U32LE(0);
    for (int y = rgb.Height() - 1; y >= 0; --y) out.Bytes(rgb.Row(y), rgb.Stride());
    return out.Flush() ? kSuccess : kErrorWriting;
}

} // namespace korvan::sdk
