#include "imaging/JpegWriter.h"

#include "imaging/Status.h"
#include "unit/imaging/TestImages.h"
#include "unit/imaging/WriterTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korvan::imaging;
using namespace korvan::test;

// The percent shown for a quality factor: Round(101 - Q * 100 / 253), at least 1.
TEST(JpegQuality, PercentFromQualityFactor) {
    const int table[][2] = {{2, 100}, {3, 100}, {4, 99}, {63, 76}, {129, 50}, {128, 50}, {250, 2}, {253, 1}, {255, 1}};
    for (auto [q, percent] : table) EXPECT_EQ(JpegQualityPercent(q), percent) << q;
    for (int q = 2; q <= 255; ++q) {
        EXPECT_EQ(JpegQualityPercent(q), std::max(1, int(std::lround(101.0 - q * 100.0 / 253.0)))) << q;
        if (q > 2) {
            EXPECT_LE(JpegQualityPercent(q), JpegQualityPercent(q - 1));
        }
    }
}

// The standard tables scale the customary way: 50 as printed, 100 all ones, limits 1..255.
TEST(JpegQuality, ScaledTables) {
    uint16_t t[64];
    jpeg::ScaledTable(false, 50, t);
    EXPECT_EQ(t[0], 16);
    EXPECT_EQ(t[63], 99);
    jpeg::ScaledTable(true, 50, t);
    EXPECT_EQ(t[0], 17);
    jpeg::ScaledTable(false, 100, t);
    for (uint16_t v : t) EXPECT_EQ(v, 1);
    jpeg::ScaledTable(false, 76, t);
    EXPECT_EQ(t[0], (16 * 48 + 50) / 100);
    jpeg::ScaledTable(false, 1, t);
    for (uint16_t v : t) EXPECT_EQ(v, 255);
}

// The fast transform equals the textbook DCT once its known scale is taken out.
TEST(JpegDct, MatchesTheDefinition) {
    const double s[8] = {1.0, 1.387039845, 1.306562965, 1.175875602, 1.0, 0.785694958, 0.541196100, 0.275899379};
    for (uint32_t seed = 0; seed < 50; ++seed) {
        float block[64];
        double input[64];
        for (int i = 0; i < 64; ++i) block[i] = float(input[i] = double(Hash(seed * 64 + uint32_t(i)) % 256) - 128);
        jpeg::ForwardDct(block);
        for (int u = 0; u < 8; ++u)
            for (int v = 0; v < 8; ++v) {
                double sum = 0;
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        sum += input[y * 8 + x] * std::cos((2 * x + 1) * v * M_PI / 16) * std::cos((2 * y + 1) * u * M_PI / 16);
                double cu = u ? 1 : M_SQRT1_2, cv = v ? 1 : M_SQRT1_2;
                double expected = 0.25 * cu * cv * sum;
                EXPECT_NEAR(block[u * 8 + v] / (8 * s[u] * s[v]), expected, 0.01) << u << "," << v;
            }
    }
}

namespace {
std::vector<uint8_t> Encode(const Bitmap& image, int bits, int q) {
    VectorSink sink;
    EXPECT_EQ(WriteJpeg(image, bits, q, sink), kSuccess);
    return sink.bytes;
}
} // namespace

// Marker order of a baseline file; SOF0 carries the size, the components and 1x1 sampling.
TEST(JpegWriter, MarkersAndFrame) {
    for (int bits : {24, 8}) {
        std::vector<uint8_t> jpg = Encode(Photo(17, 9), bits, 63);
        std::vector<uint16_t> markers;
        size_t at = 2, sof = 0;
        ASSERT_EQ(Be16(jpg, 0), 0xFFD8);
        while (at < jpg.size()) {
            uint16_t marker = Be16(jpg, at);
            markers.push_back(marker);
            if (marker == 0xFFC0) sof = at;
            if (marker == 0xFFDA) break;
            at += 2 + Be16(jpg, at + 2);
        }
        const std::vector<uint16_t> expected = {0xFFE0, 0xFFDB, 0xFFC0, 0xFFC4, 0xFFDA};
        EXPECT_EQ(markers, expected);
        const int components = bits == 24 ? 3 : 1;
        EXPECT_EQ(jpg[sof + 4], 8);
        EXPECT_EQ(Be16(jpg, sof + 5), 9);
        EXPECT_EQ(Be16(jpg, sof + 7), 17);
        ASSERT_EQ(jpg[sof + 9], components);
        for (int c = 0; c < components; ++c) EXPECT_EQ(jpg[sof + 10 + size_t(c) * 3 + 1], 0x11);
        EXPECT_EQ(Be16(jpg, jpg.size() - 2), 0xFFD9);
        // In the entropy-coded data every 0xFF is followed by a stuffed zero.
        size_t scan = at + 2 + Be16(jpg, at + 2);
        for (size_t i = scan; i + 2 < jpg.size(); ++i)
            if (jpg[i] == 0xFF) {
                EXPECT_EQ(jpg[i + 1], 0) << i;
            }
    }
}

// Larger pictures go in stripes of whole block rows, each after a restart marker counted
// 0 to 7 over and over; elsewhere in the scan every 0xFF is followed by a stuffed zero.
TEST(JpegWriter, StripesAreSeparatedByRestartMarkers) {
    std::vector<uint8_t> jpg = Encode(Photo(1000, 700), 24, 63);  // 125 x 88 blocks: 16 rows a stripe
    size_t at = 2;
    while (Be16(jpg, at) != 0xFFDD) at += 2 + Be16(jpg, at + 2);
    EXPECT_EQ(Be16(jpg, at + 2), 4);
    EXPECT_EQ(Be16(jpg, at + 4), 16 * 125);
    while (Be16(jpg, at) != 0xFFDA) at += 2 + Be16(jpg, at + 2);
    std::vector<int> restarts;
    for (size_t i = at + 2 + Be16(jpg, at + 2); i + 2 < jpg.size(); ++i)
        if (jpg[i] == 0xFF) {
            if (jpg[i + 1] >= 0xD0 && jpg[i + 1] <= 0xD7) restarts.push_back(jpg[i + 1] - 0xD0);
            else EXPECT_EQ(jpg[i + 1], 0) << i;
        }
    EXPECT_EQ(restarts, std::vector<int>({0, 1, 2, 3, 4}));  // 88 block rows: 5 stripes of 16, one of 8
}

// Optimised Huffman tables stay within 16-bit codes and a complete-but-one code space,
// even for heavily skewed statistics.
TEST(JpegWriter, HuffmanTablesAreValid) {
    for (int q : {2, 63, 255}) {
        std::vector<uint8_t> jpg = Encode(Screen(300, 200), 24, q);
        size_t at = 2;
        while (Be16(jpg, at) != 0xFFC4) at += 2 + Be16(jpg, at + 2);
        size_t end = at + 2 + Be16(jpg, at + 2);
        at += 4;
        int tables = 0;
        while (at < end) {
            ++tables;
            double kraft = 0;
            size_t symbols = 0;
            for (int l = 1; l <= 16; ++l) {
                symbols += jpg[at + size_t(l)];
                kraft += jpg[at + size_t(l)] / std::pow(2.0, l);
            }
            EXPECT_LT(kraft, 1.0);  // the all-ones code stays unused
            EXPECT_GT(symbols, 0u);
            at += 17 + symbols;
        }
        EXPECT_EQ(tables, 4);
    }
}

// Quality factors outside 2..255 and depths other than 8 and 24 are refused before writing.
TEST(JpegWriter, RefusesBadQualityAndDepth) {
    VectorSink sink;
    for (int q : {-1, 0, 1, 256, 1000}) EXPECT_EQ(WriteJpeg(Photo(8, 8), 24, q, sink), kInvalidQFactor) << q;
    for (int bits : {1, 4, 16, 32}) EXPECT_EQ(WriteJpeg(Photo(8, 8), bits, 63, sink), kInvalidBitsPerPixel) << bits;
    EXPECT_TRUE(sink.bytes.empty());
}

// Stronger quality factors give smaller files.
TEST(JpegWriter, SizeFallsWithTheQualityFactor) {
    Bitmap image = Photo(64, 64);
    size_t previous = SIZE_MAX;
    for (int q : {2, 30, 63, 129, 200, 255}) {
        size_t size = Encode(image, 24, q).size();
        EXPECT_LT(size, previous) << q;
        previous = size;
    }
}
