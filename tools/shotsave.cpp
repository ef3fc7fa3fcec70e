// shotsave IN OUT FORMAT BITS QFACTOR
// Reads a binary PPM or a 24/32-bit BMP and writes it through the same code as the
// program's Save. Exit status 0 when the file was written; otherwise the imaging status
// and its text go to standard error.
#include "imaging/ImageFile.h"
#include "imaging/Bitmap.h"
#include "imaging/Status.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

using namespace korvan::imaging;

namespace {

bool ParseInt(const char* text, int& value) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < -2147483647L - 1 || v > 2147483647L) return false;
    value = static_cast<int>(v);
    return true;
}

// Binary PPM (P6) with a maximum of 255.
bool ReadPpm(const std::vector<uint8_t>& data, Bitmap& out) {
    size_t at = 2;
    auto number = [&](int& v) {
        while (at < data.size()) {
            if (data[at] == '#') { while (at < data.size() && data[at] != '\n') ++at; }
            else if (std::isspace(data[at])) ++at;
            else break;
        }
        long long n = 0;
        size_t start = at;
        while (at < data.size() && std::isdigit(data[at]) && n < 1000000) n = n * 10 + (data[at++] - '0');
        v = static_cast<int>(n);
        return at > start;
    };
    int w, h, maxval;
    if (!number(w) || !number(h) || !number(maxval) || maxval != 255 || at >= data.size()) return false;
    ++at;  // the single whitespace after the maximum
    if (data.size() - at < static_cast<size_t>(w) * static_cast<size_t>(h) * 3) return false;
    if (Bitmap::Create(out, w, h, 24) != kSuccess) return false;
    for (int y = 0; y < h; ++y) {
        uint8_t* row = out.Row(y);
        for (int x = 0; x < w; ++x, at += 3) { row[3 * x] = data[at + 2]; row[3 * x + 1] = data[at + 1]; row[3 * x + 2] = data[at]; }
    }
    return true;
}

// The whole file in one read: a picture of a large screen is tens of megabytes.
bool ReadWholeFile(const char* path, std::vector<uint8_t>& data) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    std::streamoff size = in.tellg();
    if (size < 0) return false;
    data.resize(static_cast<size_t>(size));
    in.seekg(0);
    return static_cast<bool>(in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(size)));
}

uint32_t Le32(const std::vector<uint8_t>& d, size_t at) {
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<uint32_t>(d[at + 3]) << 24;
}

// Uncompressed 24- or 32-bit BMP, bottom-up or top-down.
bool ReadBmp(const std::vector<uint8_t>& data, Bitmap& out) {
    if (data.size() < 54) return false;
    uint32_t offset = Le32(data, 10);
    int w = static_cast<int32_t>(Le32(data, 18)), h = static_cast<int32_t>(Le32(data, 22));
    int bits = data[28] | data[29] << 8;
    uint32_t compression = Le32(data, 30);
    bool topDown = h < 0;
    if (topDown) h = -h;
    if ((bits != 24 && bits != 32) || (compression != 0 && compression != 3) || w <= 0 || h <= 0) return false;
    size_t stride = Bitmap::StrideFor(w, bits);
    if (offset > data.size() || (data.size() - offset) / stride < static_cast<size_t>(h)) return false;
    if (Bitmap::Create(out, w, h, bits) != kSuccess) return false;
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = data.data() + offset + stride * static_cast<size_t>(topDown ? y : h - 1 - y);
        std::memcpy(out.Row(y), src, stride);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::cerr << "usage: shotsave IN OUT FORMAT BITS QFACTOR\n";
        return 2;
    }
    int format, bits, quality;
    if (!ParseInt(argv[3], format) || !ParseInt(argv[4], bits) || !ParseInt(argv[5], quality)) {
        std::cerr << kInvalidParameter << " " << StatusText(kInvalidParameter) << "\n";
        return 1;
    }
    std::vector<uint8_t> data;
    if (!ReadWholeFile(argv[1], data)) {
        std::cerr << kCannotOpenFile << " " << StatusText(kCannotOpenFile) << "\n";
        return 1;
    }
    Bitmap bitmap;
    bool read = data.size() > 2 && ((data[0] == 'P' && data[1] == '6' && ReadPpm(data, bitmap)) ||
                                    (data[0] == 'B' && data[1] == 'M' && ReadBmp(data, bitmap)));
    if (!read) {
        std::cerr << kErrorReading << " " << StatusText(kErrorReading) << "\n";
        return 1;
    }
    data = {};
    int status = SaveBitmapFile(argv[2], bitmap, format, bits, quality);
    if (status != kSuccess) {
        std::cerr << status << " " << StatusText(status) << "\n";
        return 1;
    }
    return 0;
}
