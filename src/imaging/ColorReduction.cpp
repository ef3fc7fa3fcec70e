#include "imaging/ColorReduction.h"

#include "imaging/Status.h"

#include <algorithm>
#include <limits>
#include <new>

namespace korvan::imaging {
namespace {

// Open-addressing table from a 24-bit colour to its palette index; small enough to stay
// in the first-level cache for 256 colours.
class ColorTable {
public:
    explicit ColorTable(int maxColors) : maxColors_(maxColors) {
        size_t size = 16;
        while (size < static_cast<size_t>(maxColors) * 4) size *= 2;
        keys_.assign(size, 0);
        values_.assign(size, 0);
    }
    // Index of the colour, adding it if there is room; -1 when the table is full.
    int Find(uint32_t rgb) {
        uint32_t key = rgb | 0x01000000u;
        size_t mask = keys_.size() - 1;
        size_t slot = (rgb * 2654435761u >> 8) & mask;
        while (keys_[slot] != 0) {
            if (keys_[slot] == key) return values_[slot];
            slot = (slot + 1) & mask;
        }
        if (static_cast<int>(colors_.size()) >= maxColors_) return -1;
        keys_[slot] = key;
        values_[slot] = static_cast<uint8_t>(colors_.size());
        colors_.push_back({static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)});
        return values_[slot];
    }
    std::vector<Rgb>& Colors() { return colors_; }

private:
    int maxColors_;
    std::vector<uint32_t> keys_;
    std::vector<uint8_t> values_;
    std::vector<Rgb> colors_;
};

bool Allocate(std::vector<uint8_t>& buffer, size_t size) {
    try {
        buffer.assign(size, 0);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

size_t PixelCount(const Bitmap& bitmap) {
    return static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitmap.Height());
}

// A colour cluster of the histogram: mean colour and weight (pixel count).
struct Entry {
    float c[3];
    double weight;
};

struct Box {
    size_t begin, end;
    double error;  // weighted squared distance of the entries from their mean
};

struct Moments {
    double w = 0, s[3] = {0, 0, 0}, ss = 0;
    void Add(const Entry& e) {
        w += e.weight;
        for (int k = 0; k < 3; ++k) {
            s[k] += e.weight * e.c[k];
            ss += e.weight * e.c[k] * e.c[k];
        }
    }
    double Error() const {
        if (w <= 0) return 0;
        return ss - (s[0] * s[0] + s[1] * s[1] + s[2] * s[2]) / w;
    }
};

double BoxError(const std::vector<Entry>& entries, size_t begin, size_t end) {
    Moments m;
    for (size_t i = begin; i < end; ++i) m.Add(entries[i]);
    return m.Error();
}

// Splits the box along its widest-spread channel where the two halves' summed error is least.
void SplitBox(std::vector<Entry>& entries, const Box& box, Box& left, Box& right) {
    double mean[3] = {0, 0, 0}, var[3] = {0, 0, 0}, w = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
        w += entries[i].weight;
        for (int k = 0; k < 3; ++k) mean[k] += entries[i].weight * entries[i].c[k];
    }
    for (double& m : mean) m /= w;
    for (size_t i = box.begin; i < box.end; ++i)
        for (int k = 0; k < 3; ++k) {
            double d = entries[i].c[k] - mean[k];
            var[k] += entries[i].weight * d * d;
        }
    int axis = var[1] >= var[0] && var[1] >= var[2] ? 1 : (var[0] >= var[2] ? 0 : 2);
    std::sort(entries.begin() + static_cast<std::ptrdiff_t>(box.begin), entries.begin() + static_cast<std::ptrdiff_t>(box.end),
              [axis](const Entry& a, const Entry& b) { return a.c[axis] < b.c[axis]; });
    Moments total;
    for (size_t i = box.begin; i < box.end; ++i) total.Add(entries[i]);
    Moments prefix;
    size_t best = box.begin + 1;
    double bestError = std::numeric_limits<double>::max();
    for (size_t i = box.begin; i + 1 < box.end; ++i) {
        prefix.Add(entries[i]);
        Moments rest;
        rest.w = total.w - prefix.w;
        rest.ss = total.ss - prefix.ss;
        for (int k = 0; k < 3; ++k) rest.s[k] = total.s[k] - prefix.s[k];
        double e = prefix.Error() + rest.Error();
        if (e < bestError) { bestError = e; best = i + 1; }
    }
    left = {box.begin, best, BoxError(entries, box.begin, best)};
    right = {best, box.end, BoxError(entries, best, box.end)};
}

int Nearest(const std::vector<Rgb>& palette, int r, int g, int b) {
    int best = 0, bestDistance = std::numeric_limits<int>::max();
    for (size_t i = 0; i < palette.size(); ++i) {
        int dr = palette[i].r - r, dg = palette[i].g - g, db = palette[i].b - b;
        int d = 2 * dr * dr + 4 * dg * dg + db * db;  // green weighs most to the eye
        if (d < bestDistance) { bestDistance = d; best = static_cast<int>(i); }
    }
    return best;
}

// Histogram over 6 bits per channel, then median cut with least-error splits, then a few
// k-means rounds to settle the colours.
int BuildPalette(const Bitmap& bitmap, int maxColors, std::vector<Rgb>& palette) {
    constexpr size_t kBins = size_t{1} << 18;
    std::vector<uint32_t> count;
    std::vector<uint64_t> sums;
    try {
        count.assign(kBins, 0);
        sums.assign(kBins * 3, 0);
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
    std::vector<uint8_t> rgb(static_cast<size_t>(bitmap.Width()) * 3);
    for (int y = 0; y < bitmap.Height(); ++y) {
        ReadRgbRow(bitmap, y, rgb.data());
        for (int x = 0; x < bitmap.Width(); ++x) {
            const uint8_t* p = &rgb[static_cast<size_t>(x) * 3];
            size_t bin = (size_t{p[0]} >> 2) << 12 | (size_t{p[1]} >> 2) << 6 | (size_t{p[2]} >> 2);
            ++count[bin];
            sums[bin * 3] += p[0];
            sums[bin * 3 + 1] += p[1];
            sums[bin * 3 + 2] += p[2];
        }
    }
    std::vector<Entry> entries;
    for (size_t bin = 0; bin < kBins; ++bin) {
        if (!count[bin]) continue;
        double n = count[bin];
        entries.push_back({{float(sums[bin * 3] / n), float(sums[bin * 3 + 1] / n), float(sums[bin * 3 + 2] / n)}, n});
    }
    std::vector<Box> boxes{{0, entries.size(), BoxError(entries, 0, entries.size())}};
    while (static_cast<int>(boxes.size()) < maxColors) {
        auto worst = boxes.end();
        for (auto it = boxes.begin(); it != boxes.end(); ++it)
            if (it->end - it->begin > 1 && (worst == boxes.end() || it->error > worst->error)) worst = it;
        if (worst == boxes.end()) break;
        Box left, right;
        SplitBox(entries, *worst, left, right);
        *worst = left;
        boxes.push_back(right);
    }
    std::vector<double> centre(boxes.size() * 3);
    for (size_t i = 0; i < boxes.size(); ++i) {
        Moments m;
        for (size_t e = boxes[i].begin; e < boxes[i].end; ++e) m.Add(entries[e]);
        for (int k = 0; k < 3; ++k) centre[i * 3 + k] = m.s[k] / m.w;
    }
    for (int round = 0; round < 3; ++round) {
        std::vector<double> acc(boxes.size() * 4, 0.0);
        for (const Entry& e : entries) {
            size_t best = 0;
            double bestDistance = std::numeric_limits<double>::max();
            for (size_t i = 0; i < boxes.size(); ++i) {
                double d0 = e.c[0] - centre[i * 3], d1 = e.c[1] - centre[i * 3 + 1], d2 = e.c[2] - centre[i * 3 + 2];
                double d = d0 * d0 + d1 * d1 + d2 * d2;
                if (d < bestDistance) { bestDistance = d; best = i; }
            }
            for (int k = 0; k < 3; ++k) acc[best * 4 + k] += e.weight * e.c[k];
            acc[best * 4 + 3] += e.weight;
        }
        for (size_t i = 0; i < boxes.size(); ++i)
            if (acc[i * 4 + 3] > 0)
                for (int k = 0; k < 3; ++k) centre[i * 3 + k] = acc[i * 4 + k] / acc[i * 4 + 3];
    }
    palette.clear();
    for (size_t i = 0; i < boxes.size(); ++i) {
        auto channel = [&](int k) { return static_cast<uint8_t>(std::clamp(centre[i * 3 + k] + 0.5, 0.0, 255.0)); };
        palette.push_back({channel(0), channel(1), channel(2)});
    }
    return kSuccess;
}

// Floyd-Steinberg error diffusion, serpentine, with a cache of nearest colours.
void DitherToPalette(const Bitmap& bitmap, IndexedImage& out) {
    const int w = bitmap.Width();
    std::vector<int16_t> cache(size_t{1} << 18, -1);
    std::vector<int> errCur(static_cast<size_t>(w + 2) * 3, 0), errNext(errCur.size(), 0);
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * 3);
    for (int y = 0; y < bitmap.Height(); ++y) {
        ReadRgbRow(bitmap, y, rgb.data());
        uint8_t* dst = out.indices.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        std::fill(errNext.begin(), errNext.end(), 0);
        const bool forward = (y & 1) == 0;
        const int dir = forward ? 1 : -1;
        for (int i = 0; i < w; ++i) {
            int x = forward ? i : w - 1 - i;
            int v[3];
            for (int k = 0; k < 3; ++k)
                v[k] = std::clamp(rgb[static_cast<size_t>(x) * 3 + k] + ((errCur[static_cast<size_t>(x + 1) * 3 + k] + 8) >> 4), 0, 255);
            size_t key = size_t(v[0] >> 2) << 12 | size_t(v[1] >> 2) << 6 | size_t(v[2] >> 2);
            if (cache[key] < 0) cache[key] = static_cast<int16_t>(Nearest(out.palette, v[0], v[1], v[2]));
            int index = cache[key];
            dst[x] = static_cast<uint8_t>(index);
            const Rgb& p = out.palette[static_cast<size_t>(index)];
            int e[3] = {v[0] - p.r, v[1] - p.g, v[2] - p.b};
            for (int k = 0; k < 3; ++k) {
                errCur[static_cast<size_t>(x + 1 + dir) * 3 + k] += e[k] * 7;
                errNext[static_cast<size_t>(x + 1 - dir) * 3 + k] += e[k] * 3;
                errNext[static_cast<size_t>(x + 1) * 3 + k] += e[k] * 5;
                errNext[static_cast<size_t>(x + 1 + dir) * 3 + k] += e[k];
            }
        }
        std::swap(errCur, errNext);
    }
}

} // namespace

void ReadRgbRow(const Bitmap& bitmap, int y, uint8_t* rgb) {
    const uint8_t* src = bitmap.Row(y);
    const int w = bitmap.Width();
    switch (bitmap.BitsPerPixel()) {
    case 24:
        for (int x = 0; x < w; ++x, src += 3, rgb += 3) { rgb[0] = src[2]; rgb[1] = src[1]; rgb[2] = src[0]; }
        return;
    case 32:
        for (int x = 0; x < w; ++x, src += 4, rgb += 3) { rgb[0] = src[2]; rgb[1] = src[1]; rgb[2] = src[0]; }
        return;
    default:
        for (int x = 0; x < w; ++x, rgb += 3) {
            Rgb c = bitmap.PixelAt(x, y);
            rgb[0] = c.r; rgb[1] = c.g; rgb[2] = c.b;
        }
        return;
    }
}

namespace {

int CollectExactPalette(const Bitmap& bitmap, int maxColors, IndexedImage& out) {
    ColorTable table(maxColors);
    std::vector<uint8_t> indices(PixelCount(bitmap));
    std::vector<uint8_t> rgb(static_cast<size_t>(bitmap.Width()) * 3);
    uint8_t* dst = indices.data();
    uint32_t lastColor = 0xFFFFFFFFu;
    int lastIndex = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        ReadRgbRow(bitmap, y, rgb.data());
        for (int x = 0; x < bitmap.Width(); ++x) {
            const uint8_t* p = &rgb[static_cast<size_t>(x) * 3];
            uint32_t color = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
            if (color != lastColor) {
                lastIndex = table.Find(color);
                if (lastIndex < 0) return kFailure;
                lastColor = color;
            }
            *dst++ = static_cast<uint8_t>(lastIndex);
        }
    }
    out.width = bitmap.Width();
    out.height = bitmap.Height();
    out.palette = std::move(table.Colors());
    out.indices = std::move(indices);
    out.exact = true;
    return kSuccess;
}

} // namespace

int FindExactPalette(const Bitmap& bitmap, int maxColors, IndexedImage& out) {
    try {
        return CollectExactPalette(bitmap, maxColors, out);
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
}

bool TryExactPalette(const Bitmap& bitmap, int maxColors, IndexedImage& out) {
    return FindExactPalette(bitmap, maxColors, out) == kSuccess;
}

int ReduceColors(const Bitmap& bitmap, int maxColors, IndexedImage& out) {
    if (bitmap.Empty()) return kInvalidBitmap;
    if (maxColors < 2 || maxColors > 256) return kInvalidParameter;
    // Without the memory to look for an exact palette there is none for a reduced one either.
    const int exact = FindExactPalette(bitmap, maxColors, out);
    if (exact != kFailure) return exact;
    IndexedImage reduced;
    reduced.width = bitmap.Width();
    reduced.height = bitmap.Height();
    if (!Allocate(reduced.indices, PixelCount(bitmap))) return kNoMemory;
    int status = BuildPalette(bitmap, maxColors, reduced.palette);
    if (status != kSuccess) return status;
    DitherToPalette(bitmap, reduced);
    out = std::move(reduced);
    return kSuccess;
}

int ToGreyPlane(const Bitmap& bitmap, std::vector<uint8_t>& out) {
    if (bitmap.Empty()) return kInvalidBitmap;
    if (!Allocate(out, PixelCount(bitmap))) return kNoMemory;
    std::vector<uint8_t> rgb(static_cast<size_t>(bitmap.Width()) * 3);
    uint8_t* dst = out.data();
    for (int y = 0; y < bitmap.Height(); ++y) {
        ReadRgbRow(bitmap, y, rgb.data());
        for (int x = 0; x < bitmap.Width(); ++x, ++dst)
            *dst = Luma(rgb[size_t(x) * 3], rgb[size_t(x) * 3 + 1], rgb[size_t(x) * 3 + 2]);
    }
    return kSuccess;
}

int ToBlackWhite(const Bitmap& bitmap, std::vector<uint8_t>& out) {
    if (bitmap.Empty()) return kInvalidBitmap;
    IndexedImage two;
    const int exact = FindExactPalette(bitmap, 2, two);
    if (exact == kNoMemory) return kNoMemory;
    if (exact == kSuccess) {
        uint8_t level[2] = {0, 0};
        for (size_t i = 0; i < two.palette.size(); ++i) level[i] = Luma(two.palette[i].r, two.palette[i].g, two.palette[i].b);
        uint8_t white[2];
        if (two.palette.size() == 1) {
            white[0] = white[1] = level[0] >= 128;
        } else {
            white[0] = level[0] > level[1] || (level[0] == level[1] && level[0] >= 128);
            white[1] = !white[0];
        }
        for (uint8_t& v : two.indices) v = white[v];
        out = std::move(two.indices);
        return kSuccess;
    }
    int status = ToGreyPlane(bitmap, out);
    if (status != kSuccess) return status;
    const int w = bitmap.Width();
    std::vector<int> errCur(static_cast<size_t>(w) + 2, 0), errNext(errCur.size(), 0);
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* row = out.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        std::fill(errNext.begin(), errNext.end(), 0);
        const bool forward = (y & 1) == 0;
        const int dir = forward ? 1 : -1;
        for (int i = 0; i < w; ++i) {
            int x = forward ? i : w - 1 - i;
            int v = row[x] + ((errCur[static_cast<size_t>(x + 1)] + 8) >> 4);
            int bit = v >= 128;
            row[x] = static_cast<uint8_t>(bit);
            int e = v - (bit ? 255 : 0);
            errCur[static_cast<size_t>(x + 1 + dir)] += e * 7;
            errNext[static_cast<size_t>(x + 1 - dir)] += e * 3;
            errNext[static_cast<size_t>(x + 1)] += e * 5;
            errNext[static_cast<size_t>(x + 1 + dir)] += e;
        }
        std::swap(errCur, errNext);
    }
    return kSuccess;
}

} // namespace korvan::imaging
