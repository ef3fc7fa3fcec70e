#include "imaging/PsdWriter.h"

#include "imaging/PackBits.h"
#include "imaging/Status.h"
#include "unit/imaging/TestImages.h"
#include "unit/imaging/WriterTestSupport.h"

#include <gtest/gtest.h>

using namespace korvan::imaging;
using namespace korvan::test;

// Header fields per depth: channels, depth and colour mode; an indexed file carries its
// 768-byte colour table; the data is RLE with one length per row and channel.
TEST(PsdWriter, HeaderAndRleLayout) {
    struct { int bits, channels, depth, mode; uint32_t colorData; } cases[] = {
        {1, 1, 1, 0, 0}, {8, 1, 8, 2, 768}, {24, 3, 8, 3, 0}};
    Bitmap image = Photo(21, 5);
    for (auto c : cases) {
        VectorSink sink;
        ASSERT_EQ(WritePsd(image, c.bits, sink), kSuccess);
        const std::vector<uint8_t>& b = sink.bytes;
        EXPECT_EQ(Text(b, 0, 4), "8BPS");
        EXPECT_EQ(Be16(b, 4), 1);
        EXPECT_EQ(Be16(b, 12), c.channels);
        EXPECT_EQ(Be32(b, 14), 5u);
        EXPECT_EQ(Be32(b, 18), 21u);
        EXPECT_EQ(Be16(b, 22), c.depth);
        EXPECT_EQ(Be16(b, 24), c.mode);
        EXPECT_EQ(Be32(b, 26), c.colorData);
        size_t at = 30 + c.colorData;
        EXPECT_EQ(Be32(b, at), 0u);      // image resources
        EXPECT_EQ(Be32(b, at + 4), 0u);  // layers
        EXPECT_EQ(Be16(b, at + 8), 1);   // RLE
        at += 10;
        size_t rows = size_t(c.channels) * 5, data = at + rows * 2, total = 0;
        size_t rowBytes = c.bits == 1 ? 3 : 21;
        for (size_t r = 0; r < rows; ++r) {
            size_t n = Be16(b, at + r * 2);
            std::vector<uint8_t> row;
            ASSERT_TRUE(UnpackBits(b.data() + data + total, n, row));
            EXPECT_EQ(row.size(), rowBytes);
            total += n;
        }
        EXPECT_EQ(data + total, b.size());
    }
}

// Sides beyond the format's 30000 pixels and unsupported depths are refused.
TEST(PsdWriter, Limits) {
    VectorSink sink;
    EXPECT_EQ(WritePsd(Blank(30001, 1), 24, sink), kImageTooLarge);
    for (int bits : {4, 16, 32}) EXPECT_EQ(WritePsd(Blank(2, 2), bits, sink), kInvalidBitsPerPixel);
    EXPECT_TRUE(sink.bytes.empty());
}
