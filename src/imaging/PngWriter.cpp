#include "imaging/PngWriter.h"

#include "imaging/ColorReduction.h"
#include "imaging/Deflate.h"
#include "imaging/Status.h"

#include <zlib.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>

namespace korvan::imaging {
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

int ByteCost(uint8_t v) { return std::min(v < 128 ? int{v} : 256 - v, kCostCap); }

int Predict(int type, int a, int b, int c) {
    switch (type) {
    case 1: return a;
    case 2: return b;
    case 3: return (a + b) >> 1;
    case 4: return Paeth(uint8_t(a), uint8_t(b), uint8_t(c));
    default: return 0;
    }
}

#if defined(__SSE2__)
__m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// Paeth on 16 bytes: on 16-bit lanes, the predictor nearest to a + b - c, ties to a, then b.
__m128i PaethVector(__m128i a, __m128i b, __m128i c) {
    const __m128i zero = _mm_setzero_si128();
    auto half = [](__m128i a16, __m128i b16, __m128i c16) {
        __m128i pa = _mm_sub_epi16(b16, c16), pb = _mm_sub_epi16(a16, c16);
        __m128i pc = _mm_add_epi16(pa, pb);
        pa = _mm_max_epi16(pa, _mm_sub_epi16(_mm_setzero_si128(), pa));
        pb = _mm_max_epi16(pb, _mm_sub_epi16(_mm_setzero_si128(), pb));
        pc = _mm_max_epi16(pc, _mm_sub_epi16(_mm_setzero_si128(), pc));
        __m128i least = _mm_min_epi16(_mm_min_epi16(pa, pb), pc);
        __m128i takeA = _mm_cmpeq_epi16(pa, least);
        __m128i takeB = _mm_andnot_si128(takeA, _mm_cmpeq_epi16(pb, least));
        __m128i takeC = _mm_andnot_si128(_mm_or_si128(takeA, takeB), _mm_set1_epi16(-1));
        return _mm_or_si128(_mm_or_si128(_mm_and_si128(takeA, a16), _mm_and_si128(takeB, b16)), _mm_and_si128(takeC, c16));
    };
    __m128i lo = half(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(c, zero));
    __m128i hi = half(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(c, zero));
    return _mm_packus_epi16(lo, hi);
}
#endif

} // namespace

size_t FilterAndCost(int type, const uint8_t* row, const uint8_t* prev, size_t size, int bpp, uint8_t* out, size_t limit) {
    out[0] = static_cast<uint8_t>(type);
    uint8_t* dst = out + 1;
    const size_t n = std::min(static_cast<size_t>(bpp), size);
    size_t cost = 0, i = 0;
    for (; i < n; ++i) {  // nothing to the left
        dst[i] = static_cast<uint8_t>(row[i] - Predict(type, 0, prev ? prev[i] : 0, 0));
        cost += static_cast<size_t>(ByteCost(dst[i]));
    }
#if defined(__SSE2__)
    // Without a row above, b and c are zero: Up is None, Average halves a, Paeth is a.
    const __m128i zero = _mm_setzero_si128(), cap = _mm_set1_epi8(static_cast<char>(kCostCap));
    while (i + 16 <= size) {
        __m128i sums = zero;
        const size_t stop = std::min(size - 15, i + 256);
        for (; i < stop; i += 16) {
            __m128i x = Load(row + i), predicted = zero;
            if (type != 0) {
                __m128i a = Load(row + i - n), b = prev ? Load(prev + i) : zero;
                switch (type) {
                case 1: predicted = a; break;
                case 2: predicted = b; break;
                case 3: predicted = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), _mm_set1_epi8(1))); break;
                default: predicted = prev ? PaethVector(a, b, Load(prev + i - n)) : a; break;
                }
            }
            __m128i r = _mm_sub_epi8(x, predicted);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), r);
            sums = _mm_add_epi64(sums, _mm_sad_epu8(_mm_min_epu8(_mm_min_epu8(r, _mm_sub_epi8(zero, r)), cap), zero));
        }
        cost += static_cast<size_t>(_mm_cvtsi128_si32(sums)) + static_cast<size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
        if (cost >= limit) return cost;  // cannot win any more
    }
#endif
    for (; i < size; ++i) {
        int a = row[i - n], b = prev ? prev[i] : 0, c = prev ? prev[i - n] : 0;
        dst[i] = static_cast<uint8_t>(row[i] - Predict(type, a, b, c));
        cost += static_cast<size_t>(ByteCost(dst[i]));
    }
    return cost;
}

int ChooseAndFilterRow(const uint8_t* row, const uint8_t* prev, size_t size, int bpp, uint8_t* out, uint8_t* scratch) {
    // The first row has nothing above it: Up and Average add nothing over None and Sub.
    const int count = prev ? 5 : 2;
    size_t bestCost = SIZE_MAX;
    int best = 0;
    uint8_t* bestBytes = nullptr;
    for (int type = 0; type < count && bestCost > 0; ++type) {
        uint8_t* candidate = bestBytes == out ? scratch : out;
        size_t cost = FilterAndCost(type, row, prev, size, bpp, candidate, bestCost);
        if (cost < bestCost) {
            bestCost = cost;
            best = type;
            bestBytes = candidate;
        }
    }
    if (bestBytes != out) std::memcpy(out, bestBytes, size + 1);
    return best;
}

} // namespace png

namespace {

// The unfiltered rows as PNG wants them, from the bitmap or from palette indices.
class PngRows {
public:
    PngRows(const Bitmap& bitmap, const IndexedImage* indexed, int bitDepth)
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
    const Bitmap& bitmap_;
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

int Encode(const Bitmap& bitmap, const IndexedImage* indexed, int bitDepth, ByteSink& sink, const PngOptions& options) {
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

int WritePng(const Bitmap& bitmap, int bitsPerPixel, ByteSink& sink, const PngOptions& options) {
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

} // namespace korvan::imaging
