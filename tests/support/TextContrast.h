#pragma once
// How well a text reads against its background, measured in a picture the way the web's
// accessibility guidelines define it: (L1 + 0.05) / (L2 + 0.05) of the two colours'
// relative luminances, 1 to 21; ordinary text needs at least 4.5.
//
// In a region of a window picture that holds one text (a label, a button's caption), the
// colour most pixels have is the background; the text's colour is, of the colours with at
// least a few pixels, the one that differs most from it (smoothed glyph edges blend the
// two and so differ less). Pixels in a straight run of one colour longer than any stroke of
// a letter (borders, frame lines, rules, underlines) are no text and are left out.
#include "imaging/Bitmap.h"

#include <cmath>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace korvan::test {

inline double RelativeLuminance(imaging::Rgb colour) {
    auto channel = [](uint8_t value) {
        double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.r) + 0.7152 * channel(colour.g) + 0.0722 * channel(colour.b);
}

inline double ContrastRatio(imaging::Rgb a, imaging::Rgb b) {
    double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    if (la < lb) std::swap(la, lb);
    return (la + 0.05) / (lb + 0.05);
}

struct TextContrast {
    imaging::Rgb background;
    imaging::Rgb text;
    double ratio = 1.0;
};

// The contrast of the text in the region (clipped to the picture); nothing when the region
// holds no colour but its background with at least minPixels pixels.
inline std::optional<TextContrast> MeasureText(const imaging::Bitmap& picture, int left, int top, int width,
                                               int height, int minPixels = 3, int longestStroke = 15) {
    int x0 = std::max(0, left), y0 = std::max(0, top);
    int x1 = std::min(picture.Width(), left + width), y1 = std::min(picture.Height(), top + height);
    if (x0 >= x1 || y0 >= y1) return std::nullopt;
    int w = x1 - x0, h = y1 - y0;
    auto at = [&](int x, int y) { return picture.PixelAt(x0 + x, y0 + y); };
    // Length of the run of one colour through each pixel, across and down.
    std::vector<int> across(static_cast<size_t>(w * h)), down(static_cast<size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0, start = 0; x <= w; ++x)
            if (x == w || !(at(x, y) == at(start, y))) {
                for (int i = start; i < x; ++i) across[static_cast<size_t>(y * w + i)] = x - start;
                start = x;
            }
    for (int x = 0; x < w; ++x)
        for (int y = 0, start = 0; y <= h; ++y)
            if (y == h || !(at(x, y) == at(x, start))) {
                for (int i = start; i < y; ++i) down[static_cast<size_t>(i * w + x)] = y - start;
                start = y;
            }
    auto key = [](imaging::Rgb c) { return std::make_tuple(c.r, c.g, c.b); };
    std::map<std::tuple<uint8_t, uint8_t, uint8_t>, int> counts, strokes;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            ++counts[key(at(x, y))];
            size_t i = static_cast<size_t>(y * w + x);
            if (across[i] <= longestStroke && down[i] <= longestStroke) ++strokes[key(at(x, y))];
        }
    auto colour = [](const auto& entry) {
        return imaging::Rgb{std::get<0>(entry.first), std::get<1>(entry.first), std::get<2>(entry.first)};
    };
    auto most = counts.begin();
    for (auto it = counts.begin(); it != counts.end(); ++it)
        if (it->second > most->second) most = it;
    TextContrast result{colour(*most), colour(*most), 1.0};
    for (const auto& entry : strokes) {
        if (entry.second < minPixels) continue;
        double ratio = ContrastRatio(result.background, colour(entry));
        if (ratio > result.ratio) result = {result.background, colour(entry), ratio};
    }
    if (result.ratio == 1.0) return std::nullopt;
    return result;
}

} // namespace korvan::test
