#include "imaging/ColorReduction.h"

#include "imaging/Status.h"
#include "unit/imaging/TestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace korvan::imaging;
using namespace korvan::test;

namespace {
double Psnr(const Bitmap& image, const IndexedImage& reduced) {
    double sum = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            Rgb a = image.PixelAt(x, y), b = reduced.palette[reduced.Row(y)[x]];
            sum += std::pow(a.r - b.r, 2) + std::pow(a.g - b.g, 2) + std::pow(a.b - b.b, 2);
        }
    double mse = sum / (3.0 * image.Width() * image.Height());
    return mse == 0 ? INFINITY : 10 * std::log10(255.0 * 255.0 / mse);
}
} // namespace

// No more colours than allowed: the palette is exact and every pixel keeps its colour,
// from any source depth.
TEST(ColorReduction, ExactPaletteWhenColoursFit) {
    for (int sourceBits : {1, 4, 8, 16, 24, 32}) {
        for (int colors : {2, 16, 256}) {
            Bitmap source = FewColors(23, 11, colors, 24);
            Bitmap image = Blank(23, 11, sourceBits);
            if (sourceBits <= 8) image.Palette() = {};
            if (sourceBits <= 8) {
                std::set<std::tuple<int, int, int>> seen;
                for (int y = 0; y < 11; ++y) for (int x = 0; x < 23; ++x) { Rgb c = source.PixelAt(x, y); seen.insert({c.r, c.g, c.b}); }
                if (seen.size() > (1u << sourceBits)) continue;
                for (auto [r, g, b] : seen) image.Palette().push_back({uint8_t(r), uint8_t(g), uint8_t(b)});
                image.Palette().resize(size_t(1) << sourceBits);
            }
            for (int y = 0; y < 11; ++y) for (int x = 0; x < 23; ++x) image.SetPixel(x, y, source.PixelAt(x, y));
            IndexedImage reduced;
            ASSERT_EQ(ReduceColors(image, colors, reduced), kSuccess);
            EXPECT_TRUE(reduced.exact);
            EXPECT_LE(reduced.palette.size(), size_t(colors));
            for (int y = 0; y < 11; ++y)
                for (int x = 0; x < 23; ++x) ASSERT_EQ(reduced.palette[reduced.Row(y)[x]], image.PixelAt(x, y)) << sourceBits;
        }
    }
}

// Too many colours: at most the allowed number, and the dithered result stays close.
TEST(ColorReduction, QuantisedPhotoStaysClose) {
    Bitmap photo = Photo(200, 150, 32);
    const struct { int colors; double psnr; } cases[] = {{2, 10.0}, {16, 24.0}, {256, 33.0}};
    for (auto c : cases) {
        IndexedImage reduced;
        ASSERT_EQ(ReduceColors(photo, c.colors, reduced), kSuccess);
        EXPECT_FALSE(reduced.exact);
        EXPECT_LE(reduced.palette.size(), size_t(c.colors));
        EXPECT_EQ(reduced.indices.size(), size_t(200 * 150));
        for (uint8_t i : reduced.indices) ASSERT_LT(i, reduced.palette.size());
        EXPECT_GE(Psnr(photo, reduced), c.psnr) << c.colors;
    }
}

// A large flat area keeps its exact colour even when the rest is dithered.
TEST(ColorReduction, FlatAreasStayFlat) {
    Bitmap image = Photo(120, 120);
    for (int y = 0; y < 60; ++y) for (int x = 0; x < 120; ++x) image.SetPixel(x, y, {255, 255, 255});
    IndexedImage reduced;
    ASSERT_EQ(ReduceColors(image, 16, reduced), kSuccess);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 120; ++x) ASSERT_EQ(reduced.palette[reduced.Row(y)[x]], (Rgb{255, 255, 255})) << x << "," << y;
}

// Grey levels use the usual luma weights.
TEST(ColorReduction, GreyByLuma) {
    EXPECT_EQ(Luma(255, 255, 255), 255);
    EXPECT_EQ(Luma(0, 0, 0), 0);
    EXPECT_EQ(Luma(255, 0, 0), 76);
    EXPECT_EQ(Luma(0, 255, 0), 150);
    EXPECT_EQ(Luma(0, 0, 255), 29);
    Bitmap image = Photo(9, 4, 32);
    std::vector<uint8_t> grey;
    ASSERT_EQ(ToGreyPlane(image, grey), kSuccess);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) {
            Rgb c = image.PixelAt(x, y);
            EXPECT_NEAR(grey[size_t(y * 9 + x)], 0.299 * c.r + 0.587 * c.g + 0.114 * c.b, 0.51);
        }
}

// Black and white: two colours map without dithering (darker to black); a single colour
// by its brightness; grey ramps keep their mean tone.
TEST(ColorReduction, BlackAndWhite) {
    Bitmap two = Blank(5, 1);
    for (int x = 0; x < 5; ++x) two.SetPixel(x, 0, x % 2 ? Rgb{90, 90, 200} : Rgb{250, 200, 0});
    std::vector<uint8_t> bw;
    ASSERT_EQ(ToBlackWhite(two, bw), kSuccess);
    EXPECT_EQ(bw, (std::vector<uint8_t>{1, 0, 1, 0, 1}));
    Bitmap light = Blank(3, 1);
    for (int x = 0; x < 3; ++x) light.SetPixel(x, 0, {200, 200, 200});
    ASSERT_EQ(ToBlackWhite(light, bw), kSuccess);
    EXPECT_EQ(bw, (std::vector<uint8_t>{1, 1, 1}));
    Bitmap ramp = Blank(256, 32);
    for (int y = 0; y < 32; ++y) for (int x = 0; x < 256; ++x) ramp.SetPixel(x, y, {uint8_t(x), uint8_t(x), uint8_t(x)});
    ASSERT_EQ(ToBlackWhite(ramp, bw), kSuccess);
    double mean = 0;
    for (uint8_t v : bw) mean += v * 255.0;
    EXPECT_NEAR(mean / double(bw.size()), 127.5, 3.0);
}
