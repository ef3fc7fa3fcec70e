#pragma once
// Writing a bitmap as an image file, by the imaging layer's format codes.
#include "imaging/ByteSink.h"
#include "imaging/ImagingPorts.h"
#include "imaging/Bitmap.h"

#include <filesystem>
#include <string>

namespace korvan::imaging {

enum FileFormat : int {
    kFormatBmp = 6,
    kFormatJpeg = 10,
    kFormatEps = 16,
    kFormatPict = 56,
    kFormatPng = 75,
    kFormatPsd = 76,
};

struct SaveFileOptions {
    // Answer kFileExists instead of replacing a file of the same name. The check and
    // the creation are one step, so no other writer can slip in between.
    bool failIfExists = false;
    // Where the file goes; the disk when null.
    IFileStore* store = nullptr;
};

struct SaveFileResult {
    int status = 1;
    std::string cause;  // the system's reason when writing the file failed
};

// Checks a format code, depth and quality factor: kSuccess, kInvalidFileFormat,
// kInvalidBitsPerPixel or kInvalidQFactor (JPEG only: 2 to 255).
[[nodiscard]] int CheckSaveParameters(int format, int bitsPerPixel, int quality);

// Encodes the bitmap in the given format at the given depth into the sink.
// Answers kSuccess or the status of the first problem (format, depth, quality,
// a failed write).
[[nodiscard]] int EncodeBitmap(const Bitmap& bitmap, int format, int bitsPerPixel, int quality, ByteSink& sink);

// Writes the file completely beside the target first and only then puts it in place,
// so a failed save never leaves a truncated file or destroys an existing one.
[[nodiscard]] int SaveBitmapFile(const std::filesystem::path& file, const Bitmap& bitmap, int format,
                                 int bitsPerPixel, int quality, const SaveFileOptions& options = {});
// The same, answering also why a write failed.
[[nodiscard]] SaveFileResult WriteBitmapFile(const std::filesystem::path& file, const Bitmap& bitmap, int format,
                                             int bitsPerPixel, int quality, const SaveFileOptions& options = {});

} // namespace korvan::imaging
