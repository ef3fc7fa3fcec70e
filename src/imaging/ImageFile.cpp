#include "imaging/ImageFile.h"

#include "imaging/AtomicFile.h"
#include "imaging/BmpWriter.h"
#include "imaging/EpsWriter.h"
#include "imaging/FileName.h"
#include "imaging/JpegWriter.h"
#include "imaging/PictWriter.h"
#include "imaging/PngWriter.h"
#include "imaging/PsdWriter.h"
#include "imaging/Status.h"

#include <algorithm>
#include <initializer_list>
#include <new>

namespace korvan::imaging {
namespace {

bool OneOf(int value, std::initializer_list<int> allowed) {
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

SaveFileResult WriteFile(const std::filesystem::path& file, const Bitmap& bitmap, int format, int bitsPerPixel,
                         int quality, const SaveFileOptions& options) {
    if (!IsValidFileName(file)) return {kInvalidFilename, {}};
    // Parameter errors are found before the disk is touched.
    int status = CheckSaveParameters(format, bitsPerPixel, quality);
    if (status != kSuccess) return {status, {}};
    if (bitmap.Empty()) return {kInvalidBitmap, {}};
    // The encoder streams into a temporary file beside the target; it replaces the target
    // only when complete, and is removed on any failure.
    AtomicFile out(options.store ? *options.store : DiskFileStore());
    status = out.Open(file);
    if (status == kSuccess) status = EncodeBitmap(bitmap, format, bitsPerPixel, quality, out);
    if (status == kSuccess) status = out.Commit(options.failIfExists);
    return {status, status == kSuccess ? std::string() : out.Cause()};
}

} // namespace

int CheckSaveParameters(int format, int bitsPerPixel, int quality) {
    bool depthOk = false;
    switch (format) {
    case kFormatBmp: depthOk = OneOf(bitsPerPixel, {1, 4, 8, 16, 24, 32}); break;
    case kFormatJpeg: depthOk = OneOf(bitsPerPixel, {8, 24}); break;
    case kFormatPng: depthOk = OneOf(bitsPerPixel, {1, 4, 8, 24}); break;
    case kFormatPict: depthOk = OneOf(bitsPerPixel, {1, 4, 8, 24}); break;
    case kFormatPsd: depthOk = OneOf(bitsPerPixel, {1, 8, 24}); break;
    case kFormatEps: depthOk = bitsPerPixel == 8; break;
    default: return kInvalidFileFormat;
    }
    if (!depthOk) return kInvalidBitsPerPixel;
    // Only JPEG uses the quality factor; the other formats ignore whatever the dialog passes.
    if (format == kFormatJpeg && (quality < 2 || quality > 255)) return kInvalidQFactor;
    return kSuccess;
}

int EncodeBitmap(const Bitmap& bitmap, int format, int bitsPerPixel, int quality, ByteSink& sink) {
    int status = CheckSaveParameters(format, bitsPerPixel, quality);
    if (status != kSuccess) return status;
    if (bitmap.Empty()) return kInvalidBitmap;
    try {
        switch (format) {
        case kFormatBmp: return WriteBmp(bitmap, bitsPerPixel, sink);
        case kFormatPng: return WritePng(bitmap, bitsPerPixel, sink);
        case kFormatJpeg: return WriteJpeg(bitmap, bitsPerPixel, quality, sink);
        case kFormatPict: return WritePict(bitmap, bitsPerPixel, sink);
        case kFormatPsd: return WritePsd(bitmap, bitsPerPixel, sink);
        case kFormatEps: return WriteEps(bitmap, bitsPerPixel, sink);
        default: return kInvalidFileFormat;
        }
    } catch (const std::bad_alloc&) {
        return kNoMemory;  // also from the sink: a growing buffer, a file's error text
    }
}

int SaveBitmapFile(const std::filesystem::path& file, const Bitmap& bitmap, int format, int bitsPerPixel,
                   int quality, const SaveFileOptions& options) {
    return WriteBitmapFile(file, bitmap, format, bitsPerPixel, quality, options).status;
}

SaveFileResult WriteBitmapFile(const std::filesystem::path& file, const Bitmap& bitmap, int format,
                               int bitsPerPixel, int quality, const SaveFileOptions& options) {
    try {
        return WriteFile(file, bitmap, format, bitsPerPixel, quality, options);
    } catch (const std::bad_alloc&) {
        return {kNoMemory, {}};  // the temporary file is gone with the AtomicFile
    }
}

} // namespace korvan::imaging
