#include "imaging/PictWriter.h"

#include "imaging/Status.h"
#include "unit/imaging/TestImages.h"
#include "unit/imaging/WriterTestSupport.h"

#include <gtest/gtest.h>

using namespace korvan::imaging;
using namespace korvan::test;

namespace {
std::vector<uint8_t> Encode(const Bitmap& image, int bits) {
    VectorSink sink;
    EXPECT_EQ(WritePict(image, bits, sink), kSuccess);
    return sink.bytes;
}
size_t Count(const std::vector<uint8_t>& b, uint16_t opcode) {
    size_t n = 0;
    for (size_t i = 512; i + 1 < b.size(); i += 2) n += Be16(b, i) == opcode;
    return n;
}
} // namespace

// A version 2 picture after a zeroed 512-byte header: frame, version opcode, extended
// header, and the end opcode last on an even offset.
TEST(PictWriter, FileHeaderAndVersion2Opcodes) {
    for (int bits : {1, 4, 8, 24}) {
        std::vector<uint8_t> b = Encode(Photo(13, 6), bits);
        EXPECT_EQ(std::count(b.begin(), b.begin() + 512, 0), 512);
        EXPECT_EQ(Be16(b, 514), 0);   // frame top, left, bottom, right
        EXPECT_EQ(Be16(b, 516), 0);
        EXPECT_EQ(Be16(b, 518), 6);
        EXPECT_EQ(Be16(b, 520), 13);
        EXPECT_EQ(Be32(b, 522), 0x001102FFu);
        EXPECT_EQ(Be16(b, 526), 0x0C00);
        EXPECT_EQ(Be16(b, 528), 0xFFFE);
        EXPECT_EQ(Be16(b, b.size() - 2), 0x00FF);
        EXPECT_EQ((b.size() - 512) % 2, 0u);
        uint16_t op = Be16(b, 566);  // after the header, hilite and clip opcodes
        EXPECT_EQ(op, bits == 24 ? 0x009A : 0x0098) << bits;
    }
}

// A pixel map row holds at most 0x3FFE bytes: wide true-colour images become side-by-side
// tiles, and narrow ones exact palette bands.
TEST(PictWriter, WideAndNarrowImages) {
    EXPECT_GE(Count(Encode(Screen(9000, 2), 24), 0x009A), 3u);
    std::vector<uint8_t> narrow = Encode(Photo(2, 300), 24);
    EXPECT_GE(Count(narrow, 0x0098), 3u);
    VectorSink sink;
    EXPECT_EQ(WritePict(Blank(32768, 1), 8, sink), kImageTooLarge);
    EXPECT_EQ(WritePict(Blank(2, 2), 16, sink), kInvalidBitsPerPixel);
}
