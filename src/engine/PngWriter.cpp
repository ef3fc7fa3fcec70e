#include "engine/PngWriter.h"

#include "engine/ColorReduction.h"
#include "engine/Deflate.h"
#include "engine/SdkStatus.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>

namespace korvan::sdk {
namespace png {

uint8_t Paeth(uint8_t a, uint8_t b, uint8_t c) {
    int pa = std::abs(int{b} - int{c});
    int pb = std::abs(int{a} - int{c});
    int pc = std::abs(int{a} + int{b} - 2 * int{c});
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

void FilterRow(int type, const uint8_t* row, const uint8_t* prev, size_t size, int bpp, uint8_t* out) {
    out[0] = static_cast<uint8_t>(type);
    uint8_t* dst = out + 1;
    // The first pixel has nothing to its left; splitting it off keeps the loops free of
    // branches, so the compiler can vectorise them.
    const size_t n = std::min(static_cast<size_t>(bpp), size);
    switch (type) {
    case 0: std::memcpy(dst, row, size); break;
    case 1:
        std::memcpy(dst, row, n);
        for (size_t i = n; i < size; ++i) dst[i] = static_cast<uint8_t>(row[i] - row[i - n]);
        break;
    case 2:
        if (!prev) { std::memcpy(dst, row, size); break; }
        for (size_t i = 0; i < size; ++i) dst[i] = static_cast<uint8_t>(row[i] - prev[i]);
        break;
    case 3:
        if (!prev) {
            std::memcpy(dst, row, n);
            for (size_t i = n; i < size; ++i) dst[i] = static_cast<uint8_t>(row[i] - (row[i - n] >> 1));
            break;
        }
        for (size_t i = 0; i < n; ++i) dst[i] = static_cast<uint8_t>(row[i] - (prev[i] >> 1));
        for (size_t i = n; i < size; ++i) dst[i] = static_cast<uint8_t>(row[i] - ((unsigned{row[i - n]} + prev[i]) >> 1));
        break;
    case 4:
        if (!prev) {  // Paeth(left, 0, 0) is left
            std::memcpy(dst, row, n);
            for (size_t i = n; i < size; ++i) dst[i] = static_cast<uint8_t>(row[i] - row[i - n]);
            break;
        }
        for (size_t i = 0; i < n; ++i) dst[i] = static_cast<uint8_t>(row[i] - prev[i]);  // Paeth(0, up, 0) is up
        for (size_t i = n; i < size; ++i) dst[i] = static_cast<uint8_t>(row[i] - Paeth(row[i - n], prev[i], prev[i - n]));
        break;
    default: break;
    }
}

namespace {
size_t Cost(const uint8_t* filtered, size_t size) {
    size_t sum = 0;
    for (size_t i = 0; i < size; ++i) {
        int v = static_cast<int8_t>(filtered[i]);
        sum += static_cast<size_t>(v < 0 ? -v : v);
    }
    return sum;
}
} // namespace

int ChooseAndFilterRow(const uint8_t* row, const uint8_t* prev, size_t size, int bpp, uint8_t* out, uint8_t* scratch) {
    // The first row has nothing above it: Up and Average add nothing over None and Sub.
    static constexpr int kAll[] = {0, 1, 2, 3, 4};
    static constexpr int kFirst[] = {0, 1};
    const int* types = prev ? kAll : kFirst;
    const int count = prev ? 5 : 2;
    size_t bestCost = SIZE_MAX;
    int best = 0;
    for (int t = 0; t < count; ++t) {
        uint8_t* candidate = t == 0 ? out : scratch;
        FilterRow(types[t], row, prev, size, bpp, candidate);
        size_t cost = Cost(candidate + 1, size);
        if (cost < bestCost) {
            bestCost = cost;
            best = types[t];
            if (candidate != out) std::memcpy(out, candidate, size + 1);
        }
    }
    return best;
}

} // namespace png

namespace {

// The unfiltered rows as PNG wants them, from the bitmap or from palette indices.
class PngRows {
public:
    PngRows(const SdkBitmap& bitmap, const IndexedImage* indexed, int bitDepth)
        : bitmap_(bitmap), indexed_(indexed), bitDepth_(bitDepth) {
        size_t bits = static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(indexed ? bitDepth : 24);
        rowBytes_ = (bits + 7) / 8;
    }
    size_t RowBytes() const { return rowBytes_; }
    int Height() const { return bitmap_.Height(); }
    int Bpp() const { return indexed_ ? 1 : 3; }
    bool Adaptive() const { return !indexed_; }

    void Row(int y, uint8_t* out) const {
        if (!indexed_) { ReadRgbRow(bitmap_, y, out); return; }
        const uint8_t* src = indexed_->Row(y);
        const int w = indexed_->width;
        if (bitDepth_ == 8) { std::memcpy(out, src, static_cast<size_t>(w)); return; }
        std::memset(out, 0, rowBytes_);
        const int perByte = 8 / bitDepth_;
        for (int x = 0; x < w; ++x) {
            int shift = 8 - bitDepth_ * (x % perByte + 1);
            out[x / perByte] |= static_cast<uint8_t>(src[x] << shift);
        }
    }

private:
    const SdkBitmap& bitmap_;
    const IndexedImage* indexed_;
    int bitDepth_;
    size_t rowBytes_;
};

class RowFilterer {
public:
    explicit RowFilterer(const PngRows& rows)
        : rows_(rows), cur_(rows.RowBytes()), prev_(rows.RowBytes()), scratch_(rows.RowBytes() + 1) {}
    // Filters row y (rows must come in order; the first call may start anywhere).
    void Filter(int y, uint8_t* out) {
        if (y == 0) {
            havePrev_ = false;
        } else if (!havePrev_ || lastRow_ != y - 1) {
            rows_.Row(y - 1, prev_.data());
            havePrev_ = true;
        }
        rows_.Row(y, cur_.data());
        const uint8_t* prev = havePrev_ ? prev_.data() : nullptr;
        if (rows_.Adaptive())
            png::ChooseAndFilterRow(cur_.data(), prev, rows_.RowBytes(), rows_.Bpp(), out, scratch_.data());
        else
            png::FilterRow(0, cur_.data(), prev, rows_.RowBytes(), rows_.Bpp(), out);
        std::swap(cur_, prev_);
        havePrev_ = true;
        lastRow_ = y;
    }

private:
    const PngRows& rows_;
    std::vector<uint8_t> cur_, prev_, scratch_;
    bool havePrev_ = false;
    int lastRow_ = -1;
};

// The image is deflated in horizontal strips of whole rows, each on its own but with the
// filtered bytes just above it as history, so the strips join into one stream that is
// almost as tight as a serial one. The strips depend on the image alone: a file comes out
// the same on any machine, the threads only share the strips out.
struct Strip {
    int begin = 0, end = 0;
    std::vector<uint8_t> bytes;
    uLong adler = 1;
    size_t length = 0;
    int status = kSuccess;
};

constexpr size_t kStripBytes = size_t{1} << 20;
constexpr size_t kHistoryBytes = 32768;

void CompressStrip(const PngRows& rows, bool last, Strip& strip, std::vector<uint8_t>& buffer) {
    const size_t lineBytes = rows.RowBytes() + 1;
    const int back = static_cast<int>(std::min<size_t>(static_cast<size_t>(strip.begin), kHistoryBytes / lineBytes + 1));
    try {
        buffer.resize(lineBytes * static_cast<size_t>(strip.end - strip.begin + back));
        RowFilterer filterer(rows);
        uint8_t* out = buffer.data();
        for (int y = strip.begin - back; y < strip.end; ++y, out += lineBytes) filterer.Filter(y, out);
        const size_t history = lineBytes * static_cast<size_t>(back);
        strip.length = buffer.size() - history;
        for (size_t at = history; at < buffer.size(); at += 1u << 30)
            strip.adler = adler32(strip.adler, buffer.data() + at, static_cast<uInt>(std::min<size_t>(1u << 30, buffer.size() - at)));
        deflate::Compress(buffer.data(), buffer.size(), history, last, strip.bytes);
    } catch (const std::bad_alloc&) {
        strip.status = kNoMemory;
    }
}

void WriteChunk(ByteWriter& out, const char* type, const uint8_t* data, size_t size) {
    out.U32BE(static_cast<uint32_t>(size));
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (size) crc = crc32(crc, data, static_cast<uInt>(size));
    out.Bytes(type, 4);
    if (size) out.Bytes(data, size);
    out.U32BE(static_cast<uint32_t>(crc));
}

int Deflate(const PngRows& rows, const PngOptions& options, std::vector<Strip>& strips) {
    const size_t lineBytes = rows.RowBytes() + 1;
    const int rowsPerStrip = static_cast<int>(std::max<size_t>(1, kStripBytes / lineBytes));
    const int count = (rows.Height() + rowsPerStrip - 1) / rowsPerStrip;
    strips.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        strips[size_t(i)].begin = i * rowsPerStrip;
        strips[size_t(i)].end = std::min(rows.Height(), (i + 1) * rowsPerStrip);
    }
    int threads = options.threads > 0 ? options.threads : static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    threads = std::min(threads, count);
    std::atomic<int> next{0};
    auto work = [&] {
        std::vector<uint8_t> buffer;
        for (int i; (i = next.fetch_add(1)) < count;) CompressStrip(rows, i == count - 1, strips[size_t(i)], buffer);
    };
    std::vector<std::thread> workers;
    try {
        for (int t = 1; t < threads; ++t) workers.emplace_back(work);
    } catch (const std::exception&) {
        // No more threads to be had: the ones running take all the strips.
    }
    work();
    for (std::thread& t : workers) t.join();
    for (const Strip& s : strips)
        if (s.status != kSuccess) return s.status;
    return kSuccess;
}

int Encode(const SdkBitmap& bitmap, const IndexedImage* indexed, int bitDepth, ByteSink& sink, const PngOptions& options) {
    PngRows rows(bitmap, indexed, bitDepth);
    if (rows.RowBytes() + 1 > 0x7FFFFFFF) return kImageTooLarge;
    std::vector<Strip> strips;
    int status = Deflate(rows, options, strips);
    if (status != kSuccess) return status;

    ByteWriter out(sink);
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    out.Bytes(kSignature, sizeof kSignature);
    uint8_t ihdr[13];
    auto be32 = [](uint8_t* p, uint32_t v) { p[0] = uint8_t(v >> 24); p[1] = uint8_t(v >> 16); p[2] = uint8_t(v >> 8); p[3] = uint8_t(v); };
    be32(ihdr, static_cast<uint32_t>(bitmap.Width()));
    be32(ihdr + 4, static_cast<uint32_t>(bitmap.Height()));
    ihdr[8] = static_cast<uint8_t>(indexed ? bitDepth : 8);
    ihdr[9] = indexed ? 3 : 2;  // palette or RGB
    ihdr[10] = ihdr[11] = ihdr[12] = 0;
    WriteChunk(out, "IHDR", ihdr, sizeof ihdr);
    // sRGB, perceptual: the pixels are screen colours.
    const uint8_t srgb = 0;
    WriteChunk(out, "sRGB", &srgb, 1);
    if (indexed) {
        std::vector<uint8_t> plte;
        for (const Rgb& c : indexed->palette) plte.insert(plte.end(), {c.r, c.g, c.b});
        WriteChunk(out, "PLTE", plte.data(), plte.size());
    }

    // One IDAT for the zlib header and then one per strip (split where a chunk would be huge).
    uint8_t header[2] = {0x78, 0x9C};  // deflate with a 32 KiB window, default effort
    WriteChunk(out, "IDAT", header, 2);
    uLong adler = 1;
    for (const Strip& s : strips) {
        constexpr size_t kMaxChunk = size_t{1} << 30;
        for (size_t at = 0; at < s.bytes.size(); at += kMaxChunk)
            WriteChunk(out, "IDAT", s.bytes.data() + at, std::min(kMaxChunk, s.bytes.size() - at));
        adler = adler32_combine(adler, s.adler, static_cast<z_off_t>(s.length));
    }
    uint8_t trailer[4];
    be32(trailer, static_cast<uint32_t>(adler));
    WriteChunk(out, "IDAT", trailer, 4);
    WriteChunk(out, "IEND", nullptr, 0);
    return out.Flush() ? kSuccess : kErrorWriting;
}

int DepthFor(size_t colors) {
    if (colors <= 2) return 1;
    if (colors <= 4) return 2;
    if (colors <= 16) return 4;
    return 8;
}

} // namespace

int WritePng(const SdkBitmap& bitmap, int bitsPerPixel, ByteSink& sink, const PngOptions& options) {
    if (bitmap.Empty()) return kInvalidBitmap;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24) return kInvalidBitsPerPixel;
    if (bitmap.Width() > 0x7FFFFFFF / 4 || bitmap.Height() > 0x7FFFFFFF) return kImageTooLarge;
    if (bitsPerPixel == 24) {
        IndexedImage exact;
        if (options.findPalette && TryExactPalette(bitmap, 256, exact))
            return Encode(bitmap, &exact, DepthFor(exact.palette.size()), sink, options);
        return Encode(bitmap, nullptr, 8, sink, options);
    }
    IndexedImage indexed;
    int status = ReduceColors(bitmap, 1 << bitsPerPixel, indexed);
    if (status != kSuccess) return status;
    return Encode(bitmap, &indexed, bitsPerPixel, sink, options);
}

} // namespace korvan::sdk
