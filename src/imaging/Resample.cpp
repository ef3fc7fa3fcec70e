#include "imaging/Resample.h"

#include <algorithm>

namespace korvan::imaging {
namespace {

// Source span [begin, end) of target pixel t when size source pixels map to zoomed ones.
struct Span {
    int begin, end;
};

std::vector<Span> Spans(int sourceSize, int zoomedSize, int first, int count) {
    std::vector<Span> spans(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        long long t = first + i;
        int begin = static_cast<int>(t * sourceSize / zoomedSize);
        int end = static_cast<int>((t + 1) * sourceSize / zoomedSize);
        begin = std::clamp(begin, 0, sourceSize - 1);
        end = std::clamp(end, begin + 1, sourceSize);
        spans[static_cast<size_t>(i)] = {begin, end};
    }
    return spans;
}

uint32_t Pack(Rgb c) { return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b; }

// Source rows as 0x00RRGGBB, converted once per row that is needed.
class RowReader {
public:
    explicit RowReader(const Bitmap& source) : source_(source), row_(static_cast<size_t>(source.Width())) {}
    const std::vector<uint32_t>& Read(int y) {
        if (y == cached_) return row_;
        cached_ = y;
        const uint8_t* p = source_.Row(y);
        int width = source_.Width();
        if (source_.BitsPerPixel() == 24) {
            for (int x = 0; x < width; ++x, p += 3) row_[static_cast<size_t>(x)] = (p[2] << 16) | (p[1] << 8) | p[0];
        } else if (source_.BitsPerPixel() == 32) {
            for (int x = 0; x < width; ++x, p += 4) row_[static_cast<size_t>(x)] = (p[2] << 16) | (p[1] << 8) | p[0];
        } else {
            for (int x = 0; x < width; ++x) row_[static_cast<size_t>(x)] = Pack(source_.PixelAt(x, y));
        }
        return row_;
    }

private:
    const Bitmap& source_;
    std::vector<uint32_t> row_;
    int cached_ = -1;
};

} // namespace

ScaledView RenderScaledRegion(const Bitmap& source, int zoomedWidth, int zoomedHeight, int x, int y, int w, int h,
                              bool resample) {
    ScaledView view;
    if (source.Empty() || zoomedWidth <= 0 || zoomedHeight <= 0 || w <= 0 || h <= 0) return view;
    view.width = w;
    view.height = h;
    view.pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    std::vector<Span> columns = Spans(source.Width(), zoomedWidth, x, w);
    std::vector<Span> rows = Spans(source.Height(), zoomedHeight, y, h);
    RowReader reader(source);
    // One target pixel may cover a whole huge image when shrunk far: 64-bit sums.
    std::vector<uint64_t> sums(static_cast<size_t>(w) * 3);

    for (int ty = 0; ty < h; ++ty) {
        Span rowSpan = rows[static_cast<size_t>(ty)];
        if (!resample) rowSpan.end = rowSpan.begin + 1;
        std::fill(sums.begin(), sums.end(), uint64_t{0});
        for (int sy = rowSpan.begin; sy < rowSpan.end; ++sy) {
            const std::vector<uint32_t>& row = reader.Read(sy);
            for (int tx = 0; tx < w; ++tx) {
                Span col = columns[static_cast<size_t>(tx)];
                if (!resample) col.end = col.begin + 1;
                uint32_t r = 0, g = 0, b = 0;  // one row of a span: at most 255 x width
                for (int sx = col.begin; sx < col.end; ++sx) {
                    uint32_t c = row[static_cast<size_t>(sx)];
                    r += (c >> 16) & 0xFF; g += (c >> 8) & 0xFF; b += c & 0xFF;
                }
                sums[3 * tx] += r; sums[3 * tx + 1] += g; sums[3 * tx + 2] += b;
            }
        }
        uint32_t* out = view.pixels.data() + static_cast<size_t>(ty) * static_cast<size_t>(w);
        for (int tx = 0; tx < w; ++tx) {
            Span col = columns[static_cast<size_t>(tx)];
            uint64_t count = resample ? uint64_t(col.end - col.begin) * uint64_t(rowSpan.end - rowSpan.begin) : 1;
            auto mean = [&](size_t k) { return static_cast<uint32_t>((sums[k] + count / 2) / count); };
            out[tx] = (mean(3 * size_t(tx)) << 16) | (mean(3 * size_t(tx) + 1) << 8) | mean(3 * size_t(tx) + 2);
        }
    }
    return view;
}

} // namespace korvan::imaging
