#include "imaging/PackBits.h"

#include "unit/imaging/TestImages.h"

#include <gtest/gtest.h>

using namespace korvan::imaging;

// The classic example packs to the classic bytes.
TEST(PackBits, KnownExample) {
    const std::vector<uint8_t> raw = {0xAA, 0xAA, 0xAA, 0x80, 0x00, 0x2A, 0xAA, 0xAA, 0xAA, 0xAA, 0x80, 0x00,
                                      0x2A, 0x22, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    const std::vector<uint8_t> packed = {0xFE, 0xAA, 0x02, 0x80, 0x00, 0x2A, 0xFD, 0xAA, 0x03, 0x80, 0x00, 0x2A, 0x22, 0xF7, 0xAA};
    std::vector<uint8_t> out;
    EXPECT_EQ(PackBits(raw.data(), raw.size(), out), packed.size());
    EXPECT_EQ(out, packed);
}

// Packing is undone exactly, packets never exceed 128 bytes, and the worst case grows by
// one byte in 128.
TEST(PackBits, RoundTripsAndBoundsGrowth) {
    for (uint32_t seed = 0; seed < 300; ++seed) {
        size_t size = korvan::test::Hash(seed) % 1000;
        std::vector<uint8_t> raw(size);
        uint32_t alphabet = seed % 3 == 0 ? 256 : seed % 3 == 1 ? 2 : 1;
        for (size_t i = 0; i < size; ++i) raw[i] = uint8_t(korvan::test::Hash(seed * 1000 + uint32_t(i / (seed % 5 + 1))) % alphabet);
        std::vector<uint8_t> packed, back;
        PackBits(raw.data(), raw.size(), packed);
        ASSERT_TRUE(UnpackBits(packed.data(), packed.size(), back));
        EXPECT_EQ(back, raw) << seed;
        EXPECT_LE(packed.size(), size + (size + 127) / 128) << seed;
        for (size_t i = 0; i < packed.size();) {
            int n = int8_t(packed[i]);
            EXPECT_NE(n, -128);
            i += n >= 0 ? size_t(n) + 2 : 2;
        }
    }
}
