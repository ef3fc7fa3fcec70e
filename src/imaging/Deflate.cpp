#include "imaging/Deflate.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace korvan::imaging::deflate {
namespace {

constexpr int kWindow = 32768;
constexpr int kMaxDistance = kWindow - 1;  // keeps every chain slot inside the window unambiguous
constexpr int kMinMatch = 5;  // four-byte matches in filtered pictures seldom pay
constexpr int kMaxMatch = 258;
constexpr int kHashBits = 16;
constexpr int kMaxChain = 8;      // candidates looked at per position
constexpr int kGoodLength = 32;    // a match this long is not worth a longer search
constexpr int kWorthChecked = 16;  // matches up to this long must beat their literals
constexpr int kInsertAll = 32;     // positions inside longer matches are only partly indexed
constexpr size_t kBlockTokens = 1 << 15;
constexpr size_t kTrialBytes = 32768;  // tried twice at the start to choose the first costs
constexpr int kSkipShift = 5;       // after 2^n positions without a match, skip one in two...
constexpr size_t kMaxSkip = 3;      // ...up to three in four
constexpr int kEndOfBlock = 256;

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

struct SymbolTables {
    uint8_t lengthCode[kMaxMatch + 1] = {};  // 0..28 for lengths 3..258
    uint8_t distanceLow[256] = {};           // code of distance - 1 below 256
    uint8_t distanceHigh[256] = {};          // code of (distance - 1) >> 7 from there on
    SymbolTables() {
        for (int c = 0; c < 29; ++c)
            for (int l = kLengthBase[c]; l < kLengthBase[c] + (1 << kLengthExtra[c]) && l <= kMaxMatch; ++l) lengthCode[l] = uint8_t(c);
        lengthCode[kMaxMatch] = 28;
        for (int c = 0; c < 30; ++c)
            for (int d = kDistanceBase[c] - 1; d < kDistanceBase[c] - 1 + (1 << kDistanceExtra[c]); ++d) {
                if (d < 256) distanceLow[d] = uint8_t(c);
                else distanceHigh[d >> 7] = uint8_t(c);
            }
    }
    int DistanceCode(int distance) const {
        int d = distance - 1;
        return d < 256 ? distanceLow[d] : distanceHigh[d >> 7];
    }
};
const SymbolTables kTables;

uint32_t Load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
uint32_t Hash(const uint8_t* p) { return (Load32(p) * 2654435761u) >> (32 - kHashBits); }

// Little-endian hosts: the first differing byte is the lowest set byte of the difference.
size_t MatchLength(const uint8_t* a, const uint8_t* b, size_t limit) {
    size_t n = 0;
    while (n + 8 <= limit) {
        uint64_t x = Load64(a + n) ^ Load64(b + n);
        if (x) return n + static_cast<size_t>(__builtin_ctzll(x) >> 3);
        n += 8;
    }
    while (n < limit && a[n] == b[n]) ++n;
    return n;
}

unsigned Reverse(unsigned code, int length) {
    unsigned r = 0;
    for (int i = 0; i < length; ++i, code >>= 1) r = (r << 1) | (code & 1);
    return r;
}

// Canonical codes for the lengths, bit-reversed as deflate sends them.
void Codes(const uint8_t* lengths, int count, uint16_t* codes) {
    int perLength[16] = {};
    for (int i = 0; i < count; ++i) perLength[lengths[i]]++;
    perLength[0] = 0;
    unsigned next[16] = {};
    unsigned code = 0;
    for (int l = 1; l < 16; ++l) {
        code = (code + unsigned(perLength[l - 1])) << 1;
        next[l] = code;
    }
    for (int i = 0; i < count; ++i)
        codes[i] = lengths[i] ? uint16_t(Reverse(next[lengths[i]]++, lengths[i])) : 0;
}

// Bits out, least significant first, into a byte vector.
class BitOut {
public:
    explicit BitOut(std::vector<uint8_t>& out) : out_(out), at_(out.size()) {}
    // Makes room for at least `bytes` more output.
    void Reserve(size_t bytes) {
        if (out_.size() < at_ + bytes + 8) out_.resize(std::max(out_.size() * 3 / 2, at_ + bytes + 8));
    }
    // n at most 32.
    void Put(uint64_t bits, int n) {
        acc_ |= bits << used_;
        used_ += n;
        if (used_ >= 32) {
            uint8_t* p = out_.data() + at_;
            p[0] = uint8_t(acc_);
            p[1] = uint8_t(acc_ >> 8);
            p[2] = uint8_t(acc_ >> 16);
            p[3] = uint8_t(acc_ >> 24);
            at_ += 4;
            acc_ >>= 32;
            used_ -= 32;
        }
    }
    void AlignToByte() {
        Reserve(8);
        while (used_ > 0) {
            out_[at_++] = uint8_t(acc_);
            acc_ >>= 8;
            used_ = std::max(used_ - 8, 0);
        }
        acc_ = 0;
    }
    void Done() {
        AlignToByte();
        out_.resize(at_);
    }

private:
    std::vector<uint8_t>& out_;
    size_t at_;
    uint64_t acc_ = 0;
    int used_ = 0;
};

// One token: a literal byte, or a match (bit 31) with its length and distance.
constexpr uint32_t kMatchFlag = 0x80000000u;
uint32_t MatchToken(int length, int distance) { return kMatchFlag | uint32_t(length) << 15 | uint32_t(distance - 1); }

// Bits each symbol is expected to cost, by which short matches are judged.
struct Costs {
    uint8_t literal[256];
    uint8_t length[29];    // code and extra bits of each length code
    uint8_t distance[30];  // code and extra bits of each distance code

    static Costs Flat() {
        Costs c;
        std::fill(std::begin(c.literal), std::end(c.literal), uint8_t{8});
        for (int i = 0; i < 29; ++i) c.length[i] = uint8_t(7 + kLengthExtra[i]);
        for (int i = 0; i < 30; ++i) c.distance[i] = uint8_t(5 + kDistanceExtra[i]);
        return c;
    }
    // From the code lengths of a block; a symbol the block did not use is dear.
    static Costs Of(const uint8_t* litLen, const uint8_t* distLen) {
        Costs c;
        for (int i = 0; i < 256; ++i) c.literal[i] = litLen[i] ? litLen[i] : 15;
        for (int i = 0; i < 29; ++i) c.length[i] = uint8_t((litLen[257 + i] ? litLen[257 + i] : 15) + kLengthExtra[i]);
        for (int i = 0; i < 30; ++i) c.distance[i] = uint8_t((distLen[i] ? distLen[i] : 15) + kDistanceExtra[i]);
        return c;
    }
};

class Compressor {
public:
    Compressor(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
        : data_(data), size_(size), bits_(out), head_(new int32_t[size_t{1} << kHashBits]), chain_(new int32_t[kWindow]) {
        tokens_.reserve(kBlockTokens + 1);
    }

    void Run(size_t history, bool last) {
        costs_ = StartingCosts(history);
        IndexHistory(history);
        Parse(history, size_, true);
        WriteBlock(last);
        if (!last) {
            // An empty stored block: the next piece starts on a byte boundary.
            bits_.Reserve(16);
            bits_.Put(0, 3);
            bits_.AlignToByte();
            bits_.Put(0xFFFF0000u, 32);
        }
        bits_.Done();
    }

private:
    // Forgets all positions, then indexes the last window of the history.
    void IndexHistory(size_t history) {
        std::fill(head_.get(), head_.get() + (size_t{1} << kHashBits), -1);
        unindexed_ = 0;
        size_t from = history > size_t(kWindow) ? history - size_t(kWindow) : 0;
        for (size_t p = from; p < history && p + kMinMatch <= size_; ++p) Insert(p);
    }

    // Turns data[p, end) into tokens; with `write`, each full block is written.
    void Parse(size_t p, size_t end, bool write) {
        size_t misses = 0;
        while (p < end) {
            if (p + kMinMatch > size_) {
                Literal(p++);
                continue;
            }
            int distance = 0;
            int length = Find(p, distance);
            if (length >= kMinMatch && length < kGoodLength && p + 1 + kMinMatch <= size_) {
                // Lazy step: a longer match one byte on beats this one.
                int nextDistance = 0;
                int next = Find(p + 1, nextDistance);
                if (next > length) {
                    Literal(p++);
                    length = next;
                    distance = nextDistance;
                }
            }
            if (length >= kMinMatch && Worth(p, length, distance)) {
                tokens_.push_back(MatchToken(length, distance));
                ++litFreq_[257 + kTables.lengthCode[length]];
                ++distFreq_[kTables.DistanceCode(distance)];
                IndexInside(p, size_t(length));
                p += size_t(length);
                misses = 0;
            } else {
                Literal(p++);
                // Long stretches without a match are noise (photographs): look at fewer
                // positions there, the literals cost the same.
                size_t skip = std::min<size_t>(++misses >> kSkipShift, kMaxSkip);
                for (; skip > 0 && p + kMinMatch < size_; --skip) Literal(p++);
            }
            if (write && tokens_.size() >= kBlockTokens) WriteBlock(false);
        }
    }

    // Each block's short matches are judged by the previous block's code, so the blocks
    // keep to the way the first one took: many matches, which suits text and interfaces,
    // or few, which suits photographs, whose literals the code then makes cheap. The
    // first block has no previous one: two trial runs over the start, one judging by flat
    // costs and one by the bytes' own frequencies, and the costs of the run that would
    // have come out smaller are taken.
    Costs StartingCosts(size_t history) {
        const size_t end = std::min(size_, history + kTrialBytes);
        Costs byBytes = Costs::Flat();
        uint32_t counts[256] = {};
        for (size_t p = history; p < end; ++p) ++counts[data_[p]];
        uint8_t byteLengths[256];
        CodeLengths(counts, 256, 15, byteLengths);
        for (int i = 0; i < 256; ++i) byBytes.literal[i] = byteLengths[i] ? byteLengths[i] : 15;
        Costs best = Costs::Flat();
        uint64_t bestBits = UINT64_MAX;
        for (const Costs& start : {Costs::Flat(), byBytes}) {
            costs_ = start;
            IndexHistory(history);
            Parse(history, end, false);
            uint8_t litLen[286], distLen[30];
            uint64_t bits = BlockCode(litLen, distLen);
            if (bits < bestBits) {
                bestBits = bits;
                best = Costs::Of(litLen, distLen);
            }
            ClearBlock();
        }
        return best;
    }

    // Code lengths for the block's symbols; answers the bits its symbols take with them.
    uint64_t BlockCode(uint8_t* litLen, uint8_t* distLen) {
        litFreq_[kEndOfBlock] = 1;
        // Two used symbols at least in each code keep every decoder content with it.
        if (std::count_if(std::begin(distFreq_), std::end(distFreq_), [](uint32_t f) { return f != 0; }) < 2) {
            if (!distFreq_[0]) distFreq_[0] = 1;
            else distFreq_[1] = 1;
        }
        if (std::count_if(std::begin(litFreq_), std::end(litFreq_), [](uint32_t f) { return f != 0; }) < 2) litFreq_[0] = 1;
        CodeLengths(litFreq_, 286, 15, litLen);
        CodeLengths(distFreq_, 30, 15, distLen);
        uint64_t bits = 0;
        for (int i = 0; i < 286; ++i) bits += uint64_t(litFreq_[i]) * (litLen[i] + (i > 256 ? kLengthExtra[i - 257] : 0));
        for (int i = 0; i < 30; ++i) bits += uint64_t(distFreq_[i]) * (distLen[i] + kDistanceExtra[i]);
        return bits;
    }

    void ClearBlock() {
        tokens_.clear();
        std::fill(std::begin(litFreq_), std::end(litFreq_), 0u);
        std::fill(std::begin(distFreq_), std::end(distFreq_), 0u);
    }

    // Positions are indexed in increasing order, each once.
    void Insert(size_t p) {
        if (p < unindexed_) return;
        uint32_t h = Hash(data_ + p);
        chain_[p & (kWindow - 1)] = head_[h];
        head_[h] = int32_t(p);
        unindexed_ = p + 1;
    }

    // Longest match at p among the recent candidates; indexes p.
    int Find(size_t p, int& distance) {
        Insert(p);
        int32_t candidate = chain_[p & (kWindow - 1)];
        const size_t limit = std::min<size_t>(kMaxMatch, size_ - p);
        const uint32_t first = Load32(data_ + p);
        const uint8_t* here = data_ + p;
        size_t best = 0;
        for (int tries = kMaxChain; candidate >= 0 && tries > 0; --tries) {
            size_t back = p - size_t(candidate);
            if (back > size_t(kMaxDistance)) break;
            const uint8_t* there = data_ + candidate;
            if (there[best] == here[best] && Load32(there) == first) {
                size_t length = 4 + MatchLength(there + 4, here + 4, limit - 4);
                if (length > best) {
                    best = length;
                    distance = int(back);
                    if (length >= limit || length >= size_t(kGoodLength) * 4) break;
                }
            }
            int32_t older = chain_[size_t(candidate) & (kWindow - 1)];
            if (older >= candidate) break;
            candidate = older;
        }
        return best >= size_t(kMinMatch) ? int(best) : 0;
    }

    // Indexes the positions a match covers (p itself is indexed already). Inside long
    // matches, mostly runs and repeated rows, only the ends are: the middle adds little.
    void IndexInside(size_t p, size_t length) {
        size_t end = std::min(p + length, size_ - kMinMatch + 1);
        if (length <= size_t(kInsertAll)) {
            for (size_t q = p + 1; q < end; ++q) Insert(q);
            return;
        }
        for (size_t q = p + 1; q < std::min(end, p + 8); ++q) Insert(q);
        for (size_t q = std::max(p + 8, end > 24 ? end - 24 : 0); q < end; ++q) Insert(q);
    }

    void Literal(size_t p) {
        tokens_.push_back(data_[p]);
        ++litFreq_[data_[p]];
    }

    // Short matches must cost fewer bits than the literals they replace, by the code
    // lengths of the previous block; in noisy picture areas they often do not.
    bool Worth(size_t p, int length, int distance) const {
        if (length > kWorthChecked) return true;
        int match = costs_.length[kTables.lengthCode[length]] + costs_.distance[kTables.DistanceCode(distance)];
        int literals = 0;
        for (int i = 0; i < length; ++i) literals += costs_.literal[data_[p + size_t(i)]];
        return match < literals;
    }

    void WriteBlock(bool last);

    const uint8_t* data_;
    size_t size_;
    size_t unindexed_ = 0;
    BitOut bits_;
    std::unique_ptr<int32_t[]> head_, chain_;
    std::vector<uint32_t> tokens_;
    uint32_t litFreq_[286] = {};
    uint32_t distFreq_[30] = {};
    Costs costs_;
};

void Compressor::WriteBlock(bool last) {
    uint8_t litLen[286], distLen[30];
    BlockCode(litLen, distLen);
    uint16_t litCode[286], distCode[30];
    Codes(litLen, 286, litCode);
    Codes(distLen, 30, distCode);
    int hlit = 286, hdist = 30;
    while (hlit > 257 && litLen[hlit - 1] == 0) --hlit;
    while (hdist > 1 && distLen[hdist - 1] == 0) --hdist;

    // The code lengths, run-length coded with symbols 16 (repeat), 17 and 18 (zeros).
    uint8_t all[316];
    std::memcpy(all, litLen, size_t(hlit));
    std::memcpy(all + hlit, distLen, size_t(hdist));
    const int total = hlit + hdist;
    struct Rle { uint8_t symbol, extra; };
    Rle rle[316];
    int rleCount = 0;
    uint32_t clFreq[19] = {};
    for (int i = 0; i < total;) {
        int value = all[i], run = 1;
        while (i + run < total && all[i + run] == value) ++run;
        i += run;
        if (value == 0) {
            while (run >= 11) { int r = std::min(run, 138); rle[rleCount++] = {18, uint8_t(r - 11)}; run -= r; }
            if (run >= 3) { rle[rleCount++] = {17, uint8_t(run - 3)}; run = 0; }
        } else {
            rle[rleCount++] = {uint8_t(value), 0};
            --run;
            while (run >= 3) { int r = std::min(run, 6); rle[rleCount++] = {16, uint8_t(r - 3)}; run -= r; }
        }
        while (run-- > 0) rle[rleCount++] = {uint8_t(value), 0};
    }
    for (int k = 0; k < rleCount; ++k) ++clFreq[rle[k].symbol];
    if (std::count_if(std::begin(clFreq), std::end(clFreq), [](uint32_t f) { return f != 0; }) < 2) clFreq[clFreq[0] ? 1 : 0] = 1;
    uint8_t clLen[19];
    uint16_t clCode[19];
    CodeLengths(clFreq, 19, 7, clLen);
    Codes(clLen, 19, clCode);
    int hclen = 19;
    while (hclen > 4 && clLen[kCodeLengthOrder[hclen - 1]] == 0) --hclen;

    bits_.Reserve(tokens_.size() * 6 + 1024);
    bits_.Put(last ? 1 : 0, 1);
    bits_.Put(2, 2);
    bits_.Put(unsigned(hlit - 257), 5);
    bits_.Put(unsigned(hdist - 1), 5);
    bits_.Put(unsigned(hclen - 4), 4);
    for (int k = 0; k < hclen; ++k) bits_.Put(clLen[kCodeLengthOrder[k]], 3);
    static constexpr uint8_t kRleExtraBits[3] = {2, 3, 7};
    for (int k = 0; k < rleCount; ++k) {
        bits_.Put(clCode[rle[k].symbol], clLen[rle[k].symbol]);
        if (rle[k].symbol >= 16) bits_.Put(rle[k].extra, kRleExtraBits[rle[k].symbol - 16]);
    }
    for (uint32_t t : tokens_) {
        if (!(t & kMatchFlag)) {
            bits_.Put(litCode[t], litLen[t]);
            continue;
        }
        int length = int((t >> 15) & 0x1FF), distance = int(t & 0x7FFF) + 1;
        int lc = kTables.lengthCode[length], dc = kTables.DistanceCode(distance);
        bits_.Put(litCode[257 + lc] | uint64_t(length - kLengthBase[lc]) << litLen[257 + lc], litLen[257 + lc] + kLengthExtra[lc]);
        bits_.Put(distCode[dc] | uint64_t(distance - kDistanceBase[dc]) << distLen[dc], distLen[dc] + kDistanceExtra[dc]);
    }
    bits_.Put(litCode[kEndOfBlock], litLen[kEndOfBlock]);

    // The next block's short matches are judged by this block's code lengths.
    costs_ = Costs::Of(litLen, distLen);
    ClearBlock();
}

} // namespace

void CodeLengths(const uint32_t* frequencies, int count, int maxBits, uint8_t* lengths) {
    std::fill(lengths, lengths + count, uint8_t{0});
    struct Leaf { uint32_t frequency; int symbol; };
    std::vector<Leaf> leaves;
    for (int i = 0; i < count; ++i)
        if (frequencies[i]) leaves.push_back({frequencies[i], i});
    const int n = static_cast<int>(leaves.size());
    if (n == 0) return;
    if (n == 1) { lengths[leaves[0].symbol] = 1; return; }
    std::sort(leaves.begin(), leaves.end(), [](const Leaf& a, const Leaf& b) {
        return a.frequency != b.frequency ? a.frequency < b.frequency : a.symbol < b.symbol;
    });
    // Huffman's tree by the two-queue method: leaves in order, then the merged nodes,
    // which come out in order of weight by themselves.
    std::vector<uint64_t> weight(size_t(2 * n - 1));
    std::vector<int> parent(size_t(2 * n - 1), 0);
    for (int i = 0; i < n; ++i) weight[size_t(i)] = leaves[size_t(i)].frequency;
    int leaf = 0, merged = n;
    auto lightest = [&](int next) {
        if (leaf < n && (merged >= next || weight[size_t(leaf)] <= weight[size_t(merged)])) return leaf++;
        return merged++;
    };
    for (int next = n; next < 2 * n - 1; ++next) {
        int a = lightest(next), b = lightest(next);
        weight[size_t(next)] = weight[size_t(a)] + weight[size_t(b)];
        parent[size_t(a)] = parent[size_t(b)] = next;
    }
    std::vector<int> depth(size_t(2 * n - 1), 0);
    for (int k = 2 * n - 3; k >= 0; --k) depth[size_t(k)] = depth[size_t(parent[size_t(k)])] + 1;
    // Lengths over the limit are cut down, then codes are pushed deeper until the set fits.
    int perLength[64] = {};
    for (int i = 0; i < n; ++i) perLength[std::min(depth[size_t(i)], maxBits)]++;
    uint64_t kraft = 0;
    for (int l = 1; l <= maxBits; ++l) kraft += uint64_t(perLength[l]) << (maxBits - l);
    while (kraft > (uint64_t{1} << maxBits)) {
        perLength[maxBits]--;
        for (int l = maxBits - 1; l > 0; --l)
            if (perLength[l]) {
                perLength[l]--;
                perLength[l + 1] += 2;
                break;
            }
        kraft--;
    }
    // The rarest symbols take the longest codes.
    int at = 0;
    for (int l = maxBits; l > 0; --l)
        for (int k = 0; k < perLength[l]; ++k) lengths[leaves[size_t(at++)].symbol] = uint8_t(l);
}

void Compress(const uint8_t* data, size_t size, size_t history, bool last, std::vector<uint8_t>& out) {
    Compressor compressor(data, size, out);
    compressor.Run(std::min(history, size), last);
}

} // namespace korvan::imaging::deflate
