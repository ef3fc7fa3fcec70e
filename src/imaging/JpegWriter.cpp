#include "imaging/JpegWriter.h"

#include "imaging/ColorReduction.h"
#include "imaging/Status.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvan::imaging {
namespace jpeg {

const uint8_t kZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
};

namespace {
// The example tables of the JPEG standard (Annex K, tables K.1 and K.2), row-major.
constexpr uint8_t kLumaTable[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99,
};
constexpr uint8_t kChromaTable[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
};
} // namespace

void ScaledTable(bool chroma, int percent, uint16_t out[64]) {
    percent = std::clamp(percent, 1, 100);
    // The customary percent scale: 50 is the table as printed, 100 all ones.
    int scale = percent < 50 ? 5000 / percent : 200 - percent * 2;
    const uint8_t* base = chroma ? kChromaTable : kLumaTable;
    for (int i = 0; i < 64; ++i) out[i] = static_cast<uint16_t>(std::clamp((base[i] * scale + 50) / 100, 1, 255));
}

// Arai, Agui and Nakajima's scaled DCT: 5 multiplications per 8 samples, the remaining
// scale folded into the quantiser.
void ForwardDct(float block[64]) {
    auto pass = [](float* d, int step) {
        float t0 = d[0] + d[7 * step], t7 = d[0] - d[7 * step];
        float t1 = d[step] + d[6 * step], t6 = d[step] - d[6 * step];
        float t2 = d[2 * step] + d[5 * step], t5 = d[2 * step] - d[5 * step];
        float t3 = d[3 * step] + d[4 * step], t4 = d[3 * step] - d[4 * step];
        float t10 = t0 + t3, t13 = t0 - t3, t11 = t1 + t2, t12 = t1 - t2;
        d[0] = t10 + t11;
        d[4 * step] = t10 - t11;
        float z1 = (t12 + t13) * 0.707106781f;
        d[2 * step] = t13 + z1;
        d[6 * step] = t13 - z1;
        t10 = t4 + t5;
        t11 = t5 + t6;
        t12 = t6 + t7;
        float z5 = (t10 - t12) * 0.382683433f;
        float z2 = 0.541196100f * t10 + z5;
        float z4 = 1.306562965f * t12 + z5;
        float z3 = t11 * 0.707106781f;
        float z11 = t7 + z3, z13 = t7 - z3;
        d[5 * step] = z13 + z2;
        d[3 * step] = z13 - z2;
        d[step] = z11 + z4;
        d[7 * step] = z11 - z4;
    };
    for (int r = 0; r < 8; ++r) pass(block + r * 8, 1);
    for (int c = 0; c < 8; ++c) pass(block + c, 8);
}

} // namespace jpeg

int JpegQualityPercent(int qualityFactor) {
    // Round(101 - Q * 100 / 253); the fraction's denominator is odd, so there are no halves.
    int numerator = 25553 - 100 * qualityFactor;
    int percent = numerator >= 0 ? (2 * numerator + 253) / 506 : -((-2 * numerator + 253) / 506);
    return std::max(percent, 1);
}

namespace {

struct Component {
    int table = 0;  // quantisation and Huffman table index: 0 luma, 1 chroma
};

// Huffman table built from symbol counts by the procedure of the JPEG standard (K.2),
// lengths limited to 16 bits.
struct HuffmanTable {
    uint8_t counts[17] = {};  // counts[l]: codes of length l
    std::vector<uint8_t> symbols;
    uint16_t code[256] = {};
    uint8_t length[256] = {};

    void Build(const uint32_t frequencies[256]) {
        long long freq[257];
        for (int i = 0; i < 256; ++i) freq[i] = frequencies[i];
        freq[256] = 1;  // reserves the all-ones code
        int codeSize[257] = {}, others[257];
        std::fill(std::begin(others), std::end(others), -1);
        for (;;) {
            int c1 = -1, c2 = -1;
            long long v = 1LL << 62;
            for (int i = 0; i <= 256; ++i)
                if (freq[i] && freq[i] <= v) { v = freq[i]; c1 = i; }
            v = 1LL << 62;
            for (int i = 0; i <= 256; ++i)
                if (freq[i] && freq[i] <= v && i != c1) { v = freq[i]; c2 = i; }
            if (c2 < 0) break;
            freq[c1] += freq[c2];
            freq[c2] = 0;
            ++codeSize[c1];
            while (others[c1] >= 0) { c1 = others[c1]; ++codeSize[c1]; }
            others[c1] = c2;
            ++codeSize[c2];
            while (others[c2] >= 0) { c2 = others[c2]; ++codeSize[c2]; }
        }
        int bits[33] = {};
        for (int i = 0; i <= 256; ++i)
            if (codeSize[i]) bits[std::min(codeSize[i], 32)]++;
        for (int i = 32; i > 16; --i) {
            while (bits[i] > 0) {
                int j = i - 2;
                while (bits[j] == 0) --j;
                bits[i] -= 2;
                bits[i - 1]++;
                bits[j + 1] += 2;
                bits[j]--;
            }
        }
        int i = 16;
        while (bits[i] == 0) --i;
        bits[i]--;  // drop the reserved code
        for (int l = 1; l <= 16; ++l) counts[l] = static_cast<uint8_t>(bits[l]);
        symbols.clear();
        for (int l = 1; l <= 32; ++l)
            for (int s = 0; s < 256; ++s)
                if (codeSize[s] == l) symbols.push_back(static_cast<uint8_t>(s));
        // Canonical codes in symbol order by length.
        unsigned next = 0;
        size_t k = 0;
        for (int l = 1; l <= 16; ++l) {
            for (int n = 0; n < counts[l]; ++n, ++k) {
                code[symbols[k]] = static_cast<uint16_t>(next++);
                length[symbols[k]] = static_cast<uint8_t>(l);
            }
            next <<= 1;
        }
    }
};

// Bits into bytes with a zero byte stuffed after every 0xFF; emits 32 bits at a time.
// Bits into bytes with a zero byte stuffed after every 0xFF; emits 32 bits at a time.
class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
    // count is at most 32.
    void Put(uint32_t bits, int count) {
        acc_ = (acc_ << count) | (bits & (count == 32 ? 0xFFFFFFFFu : (1u << count) - 1));
        used_ += count;
        if (used_ < 32) return;
        used_ -= 32;
        auto word = static_cast<uint32_t>(acc_ >> used_);
        if (out_.size() < at_ + 8) out_.resize(std::max<size_t>(4096, out_.size() * 2));
        uint32_t inverted = ~word;
        bool hasFF = ((inverted - 0x01010101u) & ~inverted & 0x80808080u) != 0;
        if (!hasFF) {
            out_[at_] = static_cast<uint8_t>(word >> 24);
            out_[at_ + 1] = static_cast<uint8_t>(word >> 16);
            out_[at_ + 2] = static_cast<uint8_t>(word >> 8);
            out_[at_ + 3] = static_cast<uint8_t>(word);
            at_ += 4;
        } else {
            for (int shift = 24; shift >= 0; shift -= 8) Byte(static_cast<uint8_t>(word >> shift));
        }
    }
    void Finish() {
        if (out_.size() < at_ + 16) out_.resize(at_ + 16);
        while (used_ >= 8) {
            used_ -= 8;
            Byte(static_cast<uint8_t>(acc_ >> used_));
        }
        if (used_ > 0) Byte(static_cast<uint8_t>((acc_ << (8 - used_)) | ((1u << (8 - used_)) - 1)));  // pad with ones
        used_ = 0;
        out_.resize(at_);
    }

private:
    void Byte(uint8_t b) {
        out_[at_++] = b;
        if (b == 0xFF) out_[at_++] = 0;
    }
    std::vector<uint8_t>& out_;
    size_t at_ = 0;
    uint64_t acc_ = 0;
    int used_ = 0;
};

int BitLength(int v) {
    unsigned a = static_cast<unsigned>(v < 0 ? -v : v);
    return a ? 32 - __builtin_clz(a) : 0;
}

// Coefficient times reciprocal step, rounded half up (the offset keeps the truncation a floor).
void Quantise(const float block[64], const float reciprocal[64], int16_t out[64]) {
#if defined(__SSE2__)
    const __m128 offset = _mm_set1_ps(16384.5f);
    const __m128i bias = _mm_set1_epi32(16384);
    for (int i = 0; i < 64; i += 8) {
        __m128i lo = _mm_sub_epi32(_mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(_mm_loadu_ps(block + i), _mm_loadu_ps(reciprocal + i)), offset)), bias);
        __m128i hi = _mm_sub_epi32(_mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(_mm_loadu_ps(block + i + 4), _mm_loadu_ps(reciprocal + i + 4)), offset)), bias);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packs_epi32(lo, hi));
    }
#else
    for (int n = 0; n < 64; ++n) out[n] = static_cast<int16_t>(static_cast<int>(block[n] * reciprocal[n] + 16384.5f) - 16384);
#endif
}

// Bit k set where z[k] is not zero.
uint64_t NonzeroMask(const int16_t z[64]) {
    uint64_t mask = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (int i = 0; i < 64; i += 16) {
        __m128i a = _mm_load_si128(reinterpret_cast<const __m128i*>(z + i));
        __m128i b = _mm_load_si128(reinterpret_cast<const __m128i*>(z + i + 8));
        __m128i zeros = _mm_packs_epi16(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(b, zero));
        mask |= uint64_t(~static_cast<unsigned>(_mm_movemask_epi8(zeros)) & 0xFFFFu) << i;
    }
#else
    for (int k = 0; k < 64; ++k)
        if (z[k]) mask |= uint64_t{1} << k;
#endif
    return mask;
}

// The quantised blocks of one stripe of block rows, kept compactly: per block the DC value,
// a mask of the nonzero AC coefficients in zigzag order, and their values.
struct StripeBlocks {
    std::vector<uint64_t> masks;
    std::vector<int16_t> values;
    size_t Bytes() const { return masks.capacity() * sizeof(uint64_t) + values.capacity() * sizeof(int16_t); }
    void Release() { std::vector<uint64_t>().swap(masks); std::vector<int16_t>().swap(values); }
};

// Stripes of whole block rows are encoded on their own, each after a restart marker, so
// every core can take a share of every step. The stripes depend on the image alone, so
// the file is the same on any machine.
class Encoder {
public:
    Encoder(const Bitmap& bitmap, bool grey, int percent) : bitmap_(bitmap), grey_(grey) {
        components_ = grey ? 1 : 3;
        blocksWide_ = (bitmap.Width() + 7) / 8;
        blocksHigh_ = (bitmap.Height() + 7) / 8;
        // About 2048 blocks a stripe; a restart interval holds at most 65535 blocks.
        stripeRows_ = std::clamp(2048 / blocksWide_, 1, std::max(1, 65535 / blocksWide_));
        stripes_ = (blocksHigh_ + stripeRows_ - 1) / stripeRows_;
        static const double kAan[8] = {1.0, 1.387039845, 1.306562965, 1.175875602,
                                       1.0, 0.785694958, 0.541196100, 0.275899379};
        for (int t = 0; t < 2; ++t) {
            jpeg::ScaledTable(t == 1, percent, tables_[t]);
            for (int i = 0; i < 64; ++i)
                reciprocal_[t][i] = static_cast<float>(1.0 / (tables_[t][i] * kAan[i / 8] * kAan[i % 8] * 8.0));
        }
    }

    int Run(ByteSink& sink) {
        try {
            blocks_.resize(size_t(stripes_));
            // The blocks are kept for the second pass while they fit in the image's own size;
            // stripes beyond that are transformed again when they are written.
            budget_ = static_cast<size_t>(bitmap_.Width()) * static_cast<size_t>(bitmap_.Height()) * 3;
            Parallel([this](int stripe, Scratch& scratch) { Analyse(stripe, scratch); });
            // A stripe whose memory ran out left its counts and blocks half made.
            if (failed_) return kNoMemory;
            BuildTables();
            encoded_.resize(size_t(stripes_));
            Parallel([this](int stripe, Scratch& scratch) { EncodeStripe(stripe, scratch); });
        } catch (const std::bad_alloc&) {
            return kNoMemory;
        }
        if (failed_) return kNoMemory;
        ByteWriter out(sink);
        WriteHeaders(out);
        for (int i = 0; i < stripes_; ++i) {
            if (i > 0) out.U16BE(static_cast<uint16_t>(0xFFD0 + (i - 1) % 8));
            out.Bytes(encoded_[size_t(i)].data(), encoded_[size_t(i)].size());
            std::vector<uint8_t>().swap(encoded_[size_t(i)]);
        }
        out.U16BE(0xFFD9);
        return out.Flush() ? kSuccess : kErrorWriting;
    }

private:
    struct Scratch {
        std::vector<float> planes;
        std::vector<uint8_t> rgb;
        StripeBlocks blocks;
        uint32_t dc[2][256] = {};
        uint32_t ac[2][256] = {};
    };

    // Runs work on every stripe, on as many threads as the machine has; a stripe's result
    // does not depend on the thread that made it.
    template <typename Work>
    void Parallel(Work work) {
        unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
        threads = std::min<unsigned>(threads, static_cast<unsigned>(stripes_));
        std::atomic<int> next{0};
        std::vector<Scratch> scratch(threads);
        auto loop = [&](unsigned t) {
            try {
                for (int i; (i = next.fetch_add(1)) < stripes_;) work(i, scratch[t]);
            } catch (const std::bad_alloc&) {
                failed_ = true;
                next = stripes_;
            }
        };
        std::vector<std::thread> workers;
        try {
            for (unsigned t = 1; t < threads; ++t) workers.emplace_back(loop, t);
        } catch (const std::exception&) {
            // No more threads to be had: the ones running take all the stripes.
        }
        loop(0);
        for (std::thread& t : workers) t.join();
        for (Scratch& s : scratch)
            for (int t = 0; t < 2; ++t)
                for (int k = 0; k < 256; ++k) {
                    dcCounts_[t][k] += s.dc[t][k];
                    acCounts_[t][k] += s.ac[t][k];
                    s.dc[t][k] = s.ac[t][k] = 0;
                }
    }

    // Colour conversion, DCT and quantisation of one stripe into compact blocks, in the
    // order they are written: block rows, then blocks, then components.
    void Transform(int stripe, Scratch& scratch, StripeBlocks& out) {
        const int w = bitmap_.Width(), h = bitmap_.Height();
        const size_t planeWidth = static_cast<size_t>(blocksWide_) * 8;
        scratch.planes.resize(planeWidth * 8 * static_cast<size_t>(components_));
        scratch.rgb.resize(static_cast<size_t>(w) * 3);
        out.masks.clear();
        out.values.clear();
        const int first = stripe * stripeRows_, last = std::min(blocksHigh_, first + stripeRows_);
        out.masks.reserve(static_cast<size_t>((last - first) * blocksWide_ * components_));
        for (int by = first; by < last; ++by) {
            for (int r = 0; r < 8; ++r) {
                int y = std::min(by * 8 + r, h - 1);  // repeat the last row below the image
                // Channel offsets of red, green and blue in the row read.
                int red = 0, green = 1, blue = 2;
                const uint8_t* p = scratch.rgb.data();
                if (bitmap_.BitsPerPixel() == 24) {
                    p = bitmap_.Row(y);  // B, G, R as stored: no copy needed
                    red = 2;
                    blue = 0;
                } else {
                    ReadRgbRow(bitmap_, y, scratch.rgb.data());
                }
                float* py = scratch.planes.data() + static_cast<size_t>(r) * planeWidth;
                float* pcb = grey_ ? nullptr : py + planeWidth * 8;
                float* pcr = grey_ ? nullptr : pcb + planeWidth * 8;
                const size_t width = static_cast<size_t>(w);
                if (grey_) {
                    for (size_t x = 0; x < width; ++x)
                        py[x] = static_cast<float>(Luma(p[3 * x + red], p[3 * x + green], p[3 * x + blue])) - 128.0f;
                } else {
                    const Products& k = products_;
                    for (size_t x = 0; x < width; ++x) {
                        unsigned R = p[3 * x + red], G = p[3 * x + green], B = p[3 * x + blue];
                        py[x] = k.yr[R] + k.yg[G] + k.yb[B] - 128.0f;
                        pcb[x] = k.cbr[R] - k.cbg[G] + k.half[B];
                        pcr[x] = k.half[R] - k.crg[G] - k.crb[B];
                    }
                }
                // Repeat the last column to fill the last block.
                for (size_t x = width; x < planeWidth; ++x) {
                    py[x] = py[width - 1];
                    if (!grey_) { pcb[x] = pcb[width - 1]; pcr[x] = pcr[width - 1]; }
                }
            }
            for (int bx = 0; bx < blocksWide_; ++bx) {
                for (int c = 0; c < components_; ++c) {
                    const int t = c == 0 ? 0 : 1;
                    const float* plane = scratch.planes.data() + planeWidth * 8 * static_cast<size_t>(c) + static_cast<size_t>(bx) * 8;
                    alignas(32) float block[64];
                    for (int r = 0; r < 8; ++r) std::memcpy(block + r * 8, plane + static_cast<size_t>(r) * planeWidth, 8 * sizeof(float));
                    jpeg::ForwardDct(block);
                    alignas(16) int16_t q[64], z[64];
                    Quantise(block, reciprocal_[t], q);
                    for (int k = 0; k < 64; ++k) z[k] = q[jpeg::kZigzag[k]];
                    const uint64_t mask = NonzeroMask(z) & ~uint64_t{1};
                    size_t at = out.values.size();
                    out.values.resize(at + 1 + static_cast<size_t>(__builtin_popcountll(mask)));
                    int16_t* value = out.values.data() + at;
                    *value++ = z[0];
                    for (uint64_t m = mask; m; m &= m - 1) *value++ = z[__builtin_ctzll(m)];
                    out.masks.push_back(mask);
                }
            }
        }
    }

    // First pass: the symbols' counts for the Huffman tables; the blocks are kept if they fit.
    void Analyse(int stripe, Scratch& scratch) {
        StripeBlocks& blocks = scratch.blocks;
        Transform(stripe, scratch, blocks);
        int previous[3] = {0, 0, 0};
        const int16_t* value = blocks.values.data();
        for (size_t b = 0; b < blocks.masks.size(); ++b) {
            const int c = static_cast<int>(b % static_cast<size_t>(components_));
            const int t = c == 0 ? 0 : 1;
            int dc = *value++;
            scratch.dc[t][BitLength(dc - previous[c])]++;
            previous[c] = dc;
            uint64_t mask = blocks.masks[b];
            int last = 0;
            while (mask) {
                int k = __builtin_ctzll(mask);
                mask &= mask - 1;
                int run = k - last - 1;
                last = k;
                scratch.ac[t][0xF0] += static_cast<uint32_t>(run >> 4);
                scratch.ac[t][((run & 15) << 4) | BitLength(*value++)]++;
            }
            if (last != 63) scratch.ac[t][0x00]++;
        }
        size_t bytes = blocks.masks.size() * sizeof(uint64_t) + blocks.values.size() * sizeof(int16_t);
        if (kept_.fetch_add(bytes) + bytes <= budget_) {
            blocks_[size_t(stripe)].masks.assign(blocks.masks.begin(), blocks.masks.end());
            blocks_[size_t(stripe)].values.assign(blocks.values.begin(), blocks.values.end());
        } else {
            kept_.fetch_sub(bytes);
        }
    }

    void BuildTables() {
        const int tables = grey_ ? 1 : 2;
        for (int t = 0; t < tables; ++t) {
            dc_[t].Build(dcCounts_[t]);
            ac_[t].Build(acCounts_[t]);
        }
    }

    // Second pass: the stripe's entropy-coded bytes, DC prediction starting afresh.
    void EncodeStripe(int stripe, Scratch& scratch) {
        StripeBlocks* blocks = &blocks_[size_t(stripe)];
        if (blocks->masks.empty()) {
            Transform(stripe, scratch, scratch.blocks);
            blocks = &scratch.blocks;
        }
        std::vector<uint8_t>& out = encoded_[size_t(stripe)];
        BitWriter bits(out);
        int previous[3] = {0, 0, 0};
        const int16_t* value = blocks->values.data();
        for (size_t b = 0; b < blocks->masks.size(); ++b) {
            const int c = static_cast<int>(b % static_cast<size_t>(components_));
            const HuffmanTable& dc = dc_[c == 0 ? 0 : 1];
            const HuffmanTable& ac = ac_[c == 0 ? 0 : 1];
            int diff = *value - previous[c];
            previous[c] = *value++;
            int n = BitLength(diff);
            // Code and value bits go out together: at most 16 + 11 bits.
            bits.Put(uint32_t{dc.code[n]} << n | (static_cast<uint32_t>(diff < 0 ? diff - 1 : diff) & ((1u << n) - 1)), dc.length[n] + n);
            uint64_t mask = blocks->masks[b];
            int last = 0;
            while (mask) {
                int k = __builtin_ctzll(mask);
                mask &= mask - 1;
                int run = k - last - 1;
                last = k;
                for (; run > 15; run -= 16) bits.Put(ac.code[0xF0], ac.length[0xF0]);
                int v = *value++;
                n = BitLength(v);
                int symbol = (run << 4) | n;
                bits.Put(uint32_t{ac.code[symbol]} << n | (static_cast<uint32_t>(v < 0 ? v - 1 : v) & ((1u << n) - 1)), ac.length[symbol] + n);
            }
            if (last != 63) bits.Put(ac.code[0], ac.length[0]);
        }
        bits.Finish();
        blocks_[size_t(stripe)].Release();
    }

    void WriteHeaders(ByteWriter& out) {
        out.U16BE(0xFFD8);
        // JFIF header, 96 dots per inch.
        out.U16BE(0xFFE0);
        out.U16BE(16);
        out.Bytes("JFIF\0", 5);
        out.U16BE(0x0101);
        out.U8(1);
        out.U16BE(96);
        out.U16BE(96);
        out.U16BE(0);
        const int tables = grey_ ? 1 : 2;
        out.U16BE(0xFFDB);
        out.U16BE(static_cast<uint16_t>(2 + 65 * tables));
        for (int t = 0; t < tables; ++t) {
            out.U8(static_cast<uint8_t>(t));
            for (int k = 0; k < 64; ++k) out.U8(static_cast<uint8_t>(tables_[t][jpeg::kZigzag[k]]));
        }
        out.U16BE(0xFFC0);
        out.U16BE(static_cast<uint16_t>(8 + 3 * components_));
        out.U8(8);
        out.U16BE(static_cast<uint16_t>(bitmap_.Height()));
        out.U16BE(static_cast<uint16_t>(bitmap_.Width()));
        out.U8(static_cast<uint8_t>(components_));
        for (int c = 0; c < components_; ++c) {
            out.U8(static_cast<uint8_t>(c + 1));
            out.U8(0x11);
            out.U8(c == 0 ? 0 : 1);
        }
        out.U16BE(0xFFC4);
        size_t length = 2;
        for (int t = 0; t < tables; ++t) length += 17 + dc_[t].symbols.size() + 17 + ac_[t].symbols.size();
        out.U16BE(static_cast<uint16_t>(length));
        for (int t = 0; t < tables; ++t) {
            for (int kind = 0; kind < 2; ++kind) {
                const HuffmanTable& h = kind == 0 ? dc_[t] : ac_[t];
                out.U8(static_cast<uint8_t>(kind << 4 | t));
                out.Bytes(h.counts + 1, 16);
                out.Bytes(h.symbols.data(), h.symbols.size());
            }
        }
        if (stripes_ > 1) {  // restart interval: the blocks of one stripe
            out.U16BE(0xFFDD);
            out.U16BE(4);
            out.U16BE(static_cast<uint16_t>(stripeRows_ * blocksWide_));
        }
        out.U16BE(0xFFDA);
        out.U16BE(static_cast<uint16_t>(6 + 2 * components_));
        out.U8(static_cast<uint8_t>(components_));
        for (int c = 0; c < components_; ++c) {
            out.U8(static_cast<uint8_t>(c + 1));
            out.U8(c == 0 ? 0x00 : 0x11);
        }
        out.U8(0);
        out.U8(63);
        out.U8(0);
    }

    const Bitmap& bitmap_;
    bool grey_;
    int components_ = 3;
    int blocksWide_ = 0, blocksHigh_ = 0;
    int stripeRows_ = 1, stripes_ = 1;
    uint16_t tables_[2][64];
    float reciprocal_[2][64];
    // The colour conversion's products of each weight with each byte value, so the
    // conversion adds table entries instead of converting and multiplying.
    struct Products {
        float yr[256], yg[256], yb[256], cbr[256], cbg[256], crg[256], crb[256], half[256];
        Products() {
            for (int v = 0; v < 256; ++v) {
                float f = static_cast<float>(v);
                yr[v] = 0.299f * f;
                yg[v] = 0.587f * f;
                yb[v] = 0.114f * f;
                cbr[v] = -0.168735892f * f;
                cbg[v] = 0.331264108f * f;
                crg[v] = 0.418687589f * f;
                crb[v] = 0.081312411f * f;
                half[v] = 0.5f * f;
            }
        }
    };
    const Products products_;
    std::vector<StripeBlocks> blocks_;
    std::vector<std::vector<uint8_t>> encoded_;
    size_t budget_ = 0;
    std::atomic<size_t> kept_{0};
    std::atomic<bool> failed_{false};
    uint32_t dcCounts_[2][256] = {};
    uint32_t acCounts_[2][256] = {};
    HuffmanTable dc_[2], ac_[2];
};

} // namespace

int WriteJpeg(const Bitmap& bitmap, int bitsPerPixel, int qualityFactor, ByteSink& sink) {
    if (bitmap.Empty()) return kInvalidBitmap;
    if (bitsPerPixel != 8 && bitsPerPixel != 24) return kInvalidBitsPerPixel;
    if (qualityFactor < 2 || qualityFactor > 255) return kInvalidQFactor;
    if (bitmap.Width() > 65535 || bitmap.Height() > 65535) return kImageTooLarge;
    Encoder encoder(bitmap, bitsPerPixel == 8, JpegQualityPercent(qualityFactor));
    return encoder.Run(sink);
}

} // namespace korvan::imaging
