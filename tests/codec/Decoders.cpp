#include "codec/Decoders.h"

#include "imaging/ColorReduction.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <sys/wait.h>

namespace korvan::test {

std::string Run(const std::string& command, int* status) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return out;
    std::array<char, 1 << 16> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    int rc = ::pclose(pipe);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

Picture ParsePnm(const std::string& data) {
    Picture p;
    if (data.size() < 3 || data[0] != 'P') return p;
    const char kind = data[1];
    size_t at = 2;
    auto number = [&]() -> long {
        while (at < data.size()) {
            if (data[at] == '#') { while (at < data.size() && data[at] != '\n') ++at; }
            else if (std::isspace(static_cast<unsigned char>(data[at]))) ++at;
            else break;
        }
        long v = 0;
        size_t start = at;
        while (at < data.size() && std::isdigit(static_cast<unsigned char>(data[at])) && v < 100000000) v = v * 10 + (data[at++] - '0');
        return at > start ? v : -1;
    };
    long w = number(), h = number();
    long maxval = kind == '4' ? 1 : number();
    if (w <= 0 || h <= 0 || maxval != (kind == '4' ? 1 : 255)) return p;
    ++at;
    const size_t pixels = static_cast<size_t>(w) * static_cast<size_t>(h);
    std::vector<uint8_t> rgb(pixels * 3);
    if (kind == '6') {
        if (data.size() - at < pixels * 3) return p;
        std::copy(data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + pixels * 3), rgb.begin());
    } else if (kind == '5') {
        if (data.size() - at < pixels) return p;
        for (size_t i = 0; i < pixels; ++i) rgb[i * 3] = rgb[i * 3 + 1] = rgb[i * 3 + 2] = static_cast<uint8_t>(data[at + i]);
    } else if (kind == '4') {
        size_t rowBytes = (static_cast<size_t>(w) + 7) / 8;
        if (data.size() - at < rowBytes * static_cast<size_t>(h)) return p;
        for (long y = 0; y < h; ++y)
            for (long x = 0; x < w; ++x) {
                bool black = (static_cast<uint8_t>(data[at + static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) / 8]) >> (7 - x % 8)) & 1;
                size_t i = static_cast<size_t>(y * w + x) * 3;
                rgb[i] = rgb[i + 1] = rgb[i + 2] = black ? 0 : 255;
            }
    } else {
        return p;
    }
    p.width = static_cast<int>(w);
    p.height = static_cast<int>(h);
    p.rgb = std::move(rgb);
    return p;
}

Picture Decode(const std::string& command) { return ParsePnm(Run(command)); }

std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

Picture FromBitmap(const imaging::Bitmap& bitmap) {
    Picture p;
    p.width = bitmap.Width();
    p.height = bitmap.Height();
    p.rgb.resize(static_cast<size_t>(p.width) * static_cast<size_t>(p.height) * 3);
    for (int y = 0; y < p.height; ++y) imaging::ReadRgbRow(bitmap, y, p.rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(p.width) * 3);
    return p;
}

double Psnr(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size() || a.rgb.empty()) return -1;
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) {
        double d = double(a.rgb[i]) - double(b.rgb[i]);
        sum += d * d;
    }
    if (sum == 0) return std::numeric_limits<double>::infinity();
    return 10 * std::log10(255.0 * 255.0 / (sum / static_cast<double>(a.rgb.size())));
}

long long DifferentPixels(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) return -1;
    long long n = 0;
    for (size_t i = 0; i < a.rgb.size(); i += 3)
        if (a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2]) ++n;
    return n;
}

TempDir::TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("korvan-codec-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

} // namespace korvan::test
