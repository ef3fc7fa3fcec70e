#include "imaging/BmpWriter.h"

#include "imaging/Status.h"
#include "unit/imaging/TestImages.h"
#include "unit/imaging/WriterTestSupport.h"

#include <gtest/gtest.h>

using namespace korvan::imaging;
using namespace korvan::test;

namespace {
std::vector<uint8_t> Encode(const Bitmap& image, int bits) {
    VectorSink sink;
    EXPECT_EQ(WriteBmp(image, bits, sink), kSuccess);
    return sink.bytes;
}
} // namespace

// Headers: file size, pixel offset after the colour table, depth, table size, image size.
TEST(BmpWriter, HeadersAtEveryDepth) {
    Bitmap image = FewColors(5, 3, 2);
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        std::vector<uint8_t> bmp = Encode(image, bits);
        uint32_t table = bits <= 8 ? (1u << bits) : 0;
        uint32_t stride = ((5u * uint32_t(bits) + 31) / 32) * 4;
        EXPECT_EQ(Text(bmp, 0, 2), "BM");
        EXPECT_EQ(Le32(bmp, 2), bmp.size()) << bits;
        EXPECT_EQ(Le32(bmp, 10), 54 + table * 4) << bits;
        EXPECT_EQ(Le32(bmp, 14), 40u);
        EXPECT_EQ(Le32(bmp, 18), 5u);
        EXPECT_EQ(Le32(bmp, 22), 3u);  // positive height: bottom-up rows
        EXPECT_EQ(Le16(bmp, 28), bits);
        EXPECT_EQ(Le32(bmp, 30), 0u);  // uncompressed
        EXPECT_EQ(Le32(bmp, 34), stride * 3) << bits;
        EXPECT_EQ(Le32(bmp, 46), table);
        EXPECT_EQ(bmp.size(), 54 + table * 4 + stride * 3) << bits;
    }
}

// Pixel bytes: bottom row first, B,G,R order, rows padded with zeros to 4 bytes.
TEST(BmpWriter, TrueColourPixelBytes) {
    Bitmap image = Blank(1, 2);
    image.SetPixel(0, 0, {10, 20, 30});
    image.SetPixel(0, 1, {40, 50, 60});
    std::vector<uint8_t> bmp = Encode(image, 24);
    const std::vector<uint8_t> pixels = {60, 50, 40, 0, 30, 20, 10, 0};
    EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 54, bmp.end()), pixels);
    bmp = Encode(image, 32);
    const std::vector<uint8_t> pixels32 = {60, 50, 40, 0, 30, 20, 10, 0};
    EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 54, bmp.end()), pixels32);
}

// 16 bits: x-R5-G5-B5, little-endian, channels rounded to five bits.
TEST(BmpWriter, SixteenBitIs555) {
    Bitmap image = Blank(2, 1);
    image.SetPixel(0, 0, {255, 0, 8});
    image.SetPixel(1, 0, {4, 132, 255});
    std::vector<uint8_t> bmp = Encode(image, 16);
    uint16_t first = Le16(bmp, 54), second = Le16(bmp, 56);
    EXPECT_EQ(first, (31 << 10) | (0 << 5) | 1);
    EXPECT_EQ(second, (0 << 10) | (16 << 5) | 31);
}

// A two-colour image at 1 bit: both colours in the table, one bit per pixel, MSB first.
TEST(BmpWriter, OneBitKeepsBothColours) {
    Bitmap image = Blank(9, 1);
    for (int x = 0; x < 9; ++x) image.SetPixel(x, 0, x % 3 == 0 ? Rgb{250, 1, 2} : Rgb{3, 4, 200});
    std::vector<uint8_t> bmp = Encode(image, 1);
    Rgb table[2] = {{bmp[56], bmp[55], bmp[54]}, {bmp[60], bmp[59], bmp[58]}};
    uint32_t bits = Be32(bmp, 62);
    for (int x = 0; x < 9; ++x) EXPECT_EQ(table[(bits >> (31 - x)) & 1], image.PixelAt(x, 0)) << x;
    EXPECT_EQ(bits & 0x7FFFFF, 0u);  // padding bits are zero
}

// Depths BMP does not offer are refused and nothing is written.
TEST(BmpWriter, RefusesOtherDepths) {
    VectorSink sink;
    for (int bits : {0, 2, 15, 48}) EXPECT_EQ(WriteBmp(Photo(3, 3), bits, sink), kInvalidBitsPerPixel);
    EXPECT_TRUE(sink.bytes.empty());
}
