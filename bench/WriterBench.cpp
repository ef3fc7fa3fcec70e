// Encodes the same images with our writers and with libpng / libjpeg-turbo in one run and
// prints time, size and quality ratios, plus the peak memory of a save.
// Usage: writer_bench IMAGE.ppm...   (see capture-screens.sh for the images)
#include "engine/ImageFile.h"
#include "engine/JpegWriter.h"
#include "engine/SdkBitmap.h"
#include "engine/SdkStatus.h"

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

using namespace korvan::sdk;

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

SdkBitmap ToBitmap(const Rgb24& image) {
    SdkBitmap b;
    if (SdkBitmap::Create(b, image.w, image.h, 32) != kSuccess) return b;
    for (int y = 0; y < image.h; ++y)
        for (int x = 0; x < image.w; ++x) {
            const uint8_t* s = &image.rgb[(size_t(y) * size_t(image.w) + size_t(x)) * 3];
            uint8_t* d = b.Row(y) + x * 4;
            d[0] = s[2]; d[1] = s[1]; d[2] = s[0]; d[3] = 0;
        }
    return b;
}

// Best of several runs, in milliseconds.
double TimeMs(const std::function<void()>& work, int runs) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
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
    SdkBitmap bitmap;
    if (magic != "P6" || SdkBitmap::Create(bitmap, w, h, 32) != kSuccess) return 1;
    std::vector<uint8_t> row(size_t(w) * 3);
    for (int y = 0; y < h; ++y) {
        in.read(reinterpret_cast<char*>(row.data()), std::streamsize(row.size()));
        for (int x = 0; x < w; ++x) {
            uint8_t* d = bitmap.Row(y) + x * 4;
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
    std::printf("  memory format %d/%d bits: status %d, image %.1f MiB, peak %.1f MiB above it (%.2f x image)\n", format, bits,
                status, imageMb, extraMb, extraMb / imageMb);
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
    if (argc < 2) {
        std::fprintf(stderr, "usage: writer_bench IMAGE.ppm...\n");
        return 2;
    }
    std::printf("Targets on screenshots: PNG 24 time ratio <= 0.5 and size ratio <= 1.05; JPEG 4:4:4 at 76%%: size within 2%%,\n"
                "PSNR within 0.1 dB, time ratio <= 2.0; memory of a 3840 x 2160 save <= 3 x the image (peak above it + 1).\n");
    const int quality = 63;  // the dialog's default, 76 percent
    const int percent = JpegQualityPercent(quality);
    for (int i = 1; i < argc; ++i) {
        Rgb24 image;
        if (!ReadPpm(argv[i], image)) { std::fprintf(stderr, "cannot read %s\n", argv[i]); return 1; }
        SdkBitmap bitmap = ToBitmap(image);
        const int runs = image.w * image.h > 4000000 ? 3 : 5;
        std::printf("%s (%d x %d)\n", argv[i], image.w, image.h);

        VectorSink ours;
        double oursPng = TimeMs([&] { ours = VectorSink(); (void)EncodeBitmap(bitmap, kFormatPng, 24, 0, ours); }, runs);
        std::vector<uint8_t> ref;
        double refPng = TimeMs([&] { ref = LibpngEncode(image); }, runs);
        std::printf("  PNG 24   ours %8.1f ms %9zu B | libpng %8.1f ms %9zu B | time ratio %.2f size ratio %.3f\n", oursPng,
                    ours.bytes.size(), refPng, ref.size(), oursPng / refPng, double(ours.bytes.size()) / double(ref.size()));

        double oursJpg = TimeMs([&] { ours = VectorSink(); (void)EncodeBitmap(bitmap, kFormatJpeg, 24, quality, ours); }, runs);
        double refJpg = TimeMs([&] { ref = LibjpegEncode(image, percent); }, runs);
        double oursPsnr = Psnr(image, JpegDecode(ours.bytes)), refPsnr = Psnr(image, JpegDecode(ref));
        std::printf("  JPEG %d%%  ours %8.1f ms %9zu B %.2f dB | libjpeg %8.1f ms %9zu B %.2f dB | time ratio %.2f size ratio %.3f "
                    "PSNR diff %+.2f dB\n",
                    percent, oursJpg, ours.bytes.size(), oursPsnr, refJpg, ref.size(), refPsnr, oursJpg / refJpg,
                    double(ours.bytes.size()) / double(ref.size()), oursPsnr - refPsnr);
        if (image.w >= 3840) {
            for (auto [format, bits] : {std::pair{kFormatPng, 24}, {kFormatJpeg, 24}, {kFormatPng, 8}, {kFormatBmp, 24},
                                        {kFormatPict, 24}, {kFormatPsd, 24}, {kFormatEps, 8}})
                MemoryOfSave("/proc/self/exe", argv[i], format, bits, quality);
        }
    }
    return 0;
}
