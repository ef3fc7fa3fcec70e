// Encodes the same images with our writers and with libpng / libjpeg-turbo in one run and
// prints time, size and quality ratios, plus the peak memory of a save.
// Usage: writer_bench [--png] [--rounds N] IMAGE.ppm...   (see capture-screens.sh for the images)
#include "imaging/ImageFile.h"
#include "imaging/JpegWriter.h"
#include "imaging/PngWriter.h"
#include "imaging/Bitmap.h"
#include "imaging/Status.h"

#include <jpeglib.h>
#include <png.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

using namespace korvan::imaging;

namespace {

struct Rgb24 {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
};

bool ReadPpm(const char* path, Rgb24& image) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval;
    in >> magic >> image.w >> image.h >> maxval;
    in.get();
    if (magic != "P6" || maxval != 255) return false;
    image.rgb.resize(size_t(image.w) * size_t(image.h) * 3);
    in.read(reinterpret_cast<char*>(image.rgb.data()), std::streamsize(image.rgb.size()));
    return bool(in);
}

// The picture as a capture holds it: a 24-bit bitmap (B, G, R).
Bitmap ToBitmap(const Rgb24& image) {
    Bitmap b;
    if (Bitmap::Create(b, image.w, image.h, 24) != kSuccess) return b;
    for (int y = 0; y < image.h; ++y)
        for (int x = 0; x < image.w; ++x) {
            const uint8_t* s = &image.rgb[(size_t(y) * size_t(image.w) + size_t(x)) * 3];
            uint8_t* d = b.Row(y) + x * 3;
            d[0] = s[2]; d[1] = s[1]; d[2] = s[0];
        }
    return b;
}

// Best of several rounds of each, in milliseconds; the candidates take turns, so a load
// from elsewhere on the machine falls on all alike.
std::vector<double> TimeEach(const std::vector<std::function<void()>>& candidates, int runs) {
    std::vector<double> best(candidates.size(), 1e30);
    for (int i = 0; i < runs; ++i)
        for (size_t k = 0; k < candidates.size(); ++k) {
            auto start = std::chrono::steady_clock::now();
            candidates[k]();
            best[k] = std::min(best[k], std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    return best;
}

std::vector<uint8_t> LibpngEncode(const Rgb24& image) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) { png_destroy_write_struct(&png, &info); return {}; }
    png_set_write_fn(png, &out, [](png_structp p, png_bytep data, png_size_t n) {
        auto* v = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        v->insert(v->end(), data, data + n);
    }, nullptr);
    png_set_IHDR(png, info, png_uint_32(image.w), png_uint_32(image.h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.h; ++y) png_write_row(png, image.rgb.data() + size_t(y) * size_t(image.w) * 3);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> LibjpegEncode(const Rgb24& image, int percent) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(image.w);
    c.image_height = JDIMENSION(image.h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, percent, TRUE);
    c.optimize_coding = TRUE;
    for (int i = 0; i < 3; ++i) c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.rgb.data() + size_t(c.next_scanline) * size_t(image.w) * 3);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&c);
    free(buffer);
    return out;
}

Rgb24 JpegDecode(const std::vector<uint8_t>& data) {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    Rgb24 out;
    out.w = int(d.output_width);
    out.h = int(d.output_height);
    out.rgb.resize(size_t(out.w) * size_t(out.h) * 3);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = out.rgb.data() + size_t(d.output_scanline) * size_t(out.w) * 3;
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return out;
}

double Psnr(const Rgb24& a, const Rgb24& b) {
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) sum += std::pow(double(a.rgb[i]) - double(b.rgb[i]), 2);
    return 10 * std::log10(255.0 * 255.0 * double(a.rgb.size()) / sum);
}

// Peak resident size of this process image in KiB (VmHWM; getrusage's figure would carry
// the parent's peak over fork and exec).
long PeakRssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

long CurrentRssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

// Run in a fresh process: loads the image straight into a 32-bit bitmap, then saves it and
// reports how far the peak memory rose above the loaded state.
int MeasureSave(const char* path, int format, int bits, int quality) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int w, h, maxval;
    in >> magic >> w >> h >> maxval;
    in.get();
    Bitmap bitmap;
    if (magic != "P6" || Bitmap::Create(bitmap, w, h, 24) != kSuccess) return 1;
    std::vector<uint8_t> row(size_t(w) * 3);
    for (int y = 0; y < h; ++y) {
        in.read(reinterpret_cast<char*>(row.data()), std::streamsize(row.size()));
        for (int x = 0; x < w; ++x) {
            uint8_t* d = bitmap.Row(y) + x * 3;
            d[0] = row[size_t(x) * 3 + 2]; d[1] = row[size_t(x) * 3 + 1]; d[2] = row[size_t(x) * 3];
        }
    }
    std::vector<uint8_t>().swap(row);
    in.close();
    std::ofstream("/proc/self/clear_refs") << "5";  // restart the peak from here
    long before = CurrentRssKb();
    std::string out = "/tmp/korvan-bench-" + std::to_string(getpid());
    int status = SaveBitmapFile(out, bitmap, format, bits, quality);
    long after = PeakRssKb();
    std::remove(out.c_str());
    double imageMb = double(bitmap.SizeBytes()) / 1048576.0, extraMb = double(after - before) / 1024.0;
    double peak = (imageMb + extraMb) / imageMb;
    std::printf("| memory | format %d, %d bits | status %d | image %.1f MiB | peak %.2f x image | %s |\n", format, bits, status,
                imageMb, peak, peak <= 2.5 ? "ok" : "MISS");
    return status == kSuccess ? 0 : 1;
}

void MemoryOfSave(const char* self, const char* path, int format, int bits, int quality) {
    std::fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        std::string f = std::to_string(format), b = std::to_string(bits), q = std::to_string(quality);
        execl(self, self, "--memory", path, f.c_str(), b.c_str(), q.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int ignored;
    waitpid(child, &ignored, 0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "--memory") == 0)
        return MeasureSave(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    int first = 1, rounds = 0;
    bool pngOnly = false;
    for (; first < argc && argv[first][0] == '-'; ++first) {
        if (std::strcmp(argv[first], "--png") == 0) pngOnly = true;
        else if (std::strcmp(argv[first], "--rounds") == 0 && first + 1 < argc) rounds = std::atoi(argv[++first]);
        else break;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: writer_bench [--png] [--rounds N] IMAGE.ppm...\n");
        return 2;
    }
    std::printf("Targets, each picture on its own: PNG 24 size <= 1.0 x libpng (default settings), time <= 0.3 x on one\n"
                "core and on all cores, the same bytes from both; JPEG 76%% 4:4:4 optimised: time <= 1.5 x libjpeg-turbo,\n"
                "size within 1%%, PSNR within 0.05 dB; memory of a save <= 2.5 x the image. Ours and the reference run\n"
                "in turns in this one process.\n\n"
                "| picture | PNG size | PNG time 1 core | PNG time all cores | ours PNG ms 1 core / all / B | libpng ms / B | "
                "JPEG time | JPEG size | JPEG PSNR diff | ours JPEG ms / B | libjpeg ms / B |\n"
                "|---|---|---|---|---|---|---|---|---|---|---|\n");
    const int quality = 63;  // the dialog's default, 76 percent
    const int percent = JpegQualityPercent(quality);
    int misses = 0;
    for (int i = first; i < argc; ++i) {
        Rgb24 image;
        if (!ReadPpm(argv[i], image)) { std::fprintf(stderr, "cannot read %s\n", argv[i]); return 1; }
        std::string name = argv[i];
        name = name.substr(name.find_last_of('/') + 1);
        if (image.w * image.h > 3840 * 2160) {  // only the memory figures for the huge picture
            for (auto [format, bits] : {std::pair{kFormatPng, 24}, {kFormatJpeg, 24}, {kFormatPng, 8}, {kFormatBmp, 24},
                                        {kFormatPict, 24}, {kFormatPsd, 24}, {kFormatEps, 8}})
                if (!pngOnly || format == kFormatPng) MemoryOfSave("/proc/self/exe", argv[i], format, bits, quality);
            continue;
        }
        Bitmap bitmap = ToBitmap(image);
        // The best of them: what the machine gives when others leave it alone.
        const int runs = rounds > 0 ? rounds : image.w * image.h > 4000000 ? 5 : 9;

        VectorSink oneCore, allCores;
        std::vector<uint8_t> ref;
        PngOptions single;
        single.threads = 1;
        std::vector<double> png = TimeEach({[&] { oneCore = VectorSink(); (void)WritePng(bitmap, 24, oneCore, single); },
                                            [&] { allCores = VectorSink(); (void)WritePng(bitmap, 24, allCores); },
                                            [&] { ref = LibpngEncode(image); }},
                                           runs);
        const bool sameBytes = oneCore.bytes == allCores.bytes;
        const size_t oursPngSize = allCores.bytes.size(), refPngSize = ref.size();
        const double pngSize = double(oursPngSize) / double(refPngSize), pngTime1 = png[0] / png[2], pngTimeAll = png[1] / png[2];
        bool ok = sameBytes && pngSize <= 1.0 && pngTime1 <= 0.3 && pngTimeAll <= 0.3;
        std::string jpeg = " - | - | - | - | - |";
        if (!pngOnly) {
            VectorSink ours;
            std::vector<double> jpg = TimeEach({[&] { ours = VectorSink(); (void)EncodeBitmap(bitmap, kFormatJpeg, 24, quality, ours); },
                                                [&] { ref = LibjpegEncode(image, percent); }},
                                               runs);
            double psnrDiff = Psnr(image, JpegDecode(ours.bytes)) - Psnr(image, JpegDecode(ref));
            double jpgTime = jpg[0] / jpg[1], jpgSize = double(ours.bytes.size()) / double(ref.size());
            ok = ok && jpgTime <= 1.5 && std::abs(jpgSize - 1) <= 0.01 && std::abs(psnrDiff) <= 0.05;
            char cells[200];
            std::snprintf(cells, sizeof cells, " %.2f | %.3f | %+.3f dB | %.1f / %zu | %.1f / %zu |", jpgTime, jpgSize, psnrDiff, jpg[0],
                          ours.bytes.size(), jpg[1], ref.size());
            jpeg = cells;
        }
        misses += !ok;
        std::printf("| %s%s | %.3f | %.2f | %.2f%s | %.1f / %.1f / %zu | %.1f / %zu |%s\n", name.c_str(), ok ? "" : " (miss)", pngSize,
                    pngTime1, pngTimeAll, sameBytes ? "" : " (bytes differ)", png[0], png[1], oursPngSize, png[2], refPngSize, jpeg.c_str());
        std::fflush(stdout);
    }
    std::printf("\n%d picture(s) missing a target\n", misses);
    return 0;
}
