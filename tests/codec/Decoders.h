#pragma once
// Runs outside decoders on our files and reads back what they saw as RGB pixels.
#include "imaging/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace korvan::test {

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // R,G,B per pixel, rows top-down
    bool Valid() const { return width > 0 && height > 0; }
};

// Standard output of a shell command, and its exit status.
std::string Run(const std::string& command, int* status = nullptr);
// Parses a binary PBM, PGM or PPM (maximum 255).
Picture ParsePnm(const std::string& data);
// The command's standard output read as a PNM picture.
Picture Decode(const std::string& command);
std::string Quote(const std::filesystem::path& path);

Picture FromBitmap(const imaging::Bitmap& bitmap);
// Peak signal-to-noise ratio over all channels; infinity when equal.
double Psnr(const Picture& a, const Picture& b);
// Number of pixels that differ at all (pictures of different sizes: -1).
long long DifferentPixels(const Picture& a, const Picture& b);

// A fresh directory removed at destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace korvan::test
