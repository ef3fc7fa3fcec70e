#include "engine/ImageFile.h"

#include "engine/AtomicFile.h"
#include "engine/BmpWriter.h"
#include "engine/SdkStatus.h"

namespace korvan::sdk {

int EncodeBitmap(const SdkBitmap& bitmap, int format, int bitsPerPixel, int quality, ByteSink& sink) {
    (void)quality;
    if (bitmap.Empty()) return kInvalidBitmap;
    switch (format) {
    case kFormatBmp: return WriteBmp(bitmap, bitsPerPixel, sink);
    case kFormatJpeg:
    case kFormatEps:
    case kFormatPict:
    case kFormatPng:
    case kFormatPsd: return kInvalidBitsPerPixel;  // writers for these formats follow
    default: return kInvalidFileFormat;
    }
}

int SaveBitmapFile(const std::filesystem::path& file, const SdkBitmap& bitmap, int format, int bitsPerPixel,
                   int quality, const SaveFileOptions& options) {
    if (file.empty() || !file.has_filename()) return kInvalidFilename;
    if (bitmap.Empty()) return kInvalidBitmap;
    // Encode into memory first: a format or depth error then never touches the disk.
    VectorSink encoded;
    int status = EncodeBitmap(bitmap, format, bitsPerPixel, quality, encoded);
    if (status != kSuccess) return status;
    AtomicFile out;
    status = out.Open(file);
    if (status != kSuccess) return status;
    if (!out.Write(encoded.bytes.data(), encoded.bytes.size())) return kErrorWriting;
    return out.Commit(options.failIfExists);
}

} // namespace korvan::sdk
