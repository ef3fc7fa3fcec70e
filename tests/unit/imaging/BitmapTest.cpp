#include "app/ToolbarArt.h"
#include "imaging/Bitmap.h"
#include "imaging/Status.h"

#include <gtest/gtest.h>

#include <set>

namespace korvan::imaging {
namespace {

// Creation checks depth and size before allocating; rows are padded to 4 bytes.
TEST(SdkBitmapCreate, RejectsBadDepthsAndSizes) {
    Bitmap bitmap;
    EXPECT_EQ(Bitmap::Create(bitmap, 10, 10, 2), kInvalidBitsPerPixel);
    EXPECT_EQ(Bitmap::Create(bitmap, 10, 10, 0), kInvalidBitsPerPixel);
    EXPECT_EQ(Bitmap::Create(bitmap, 0, 10, 24), kInvalidParameter);
    EXPECT_EQ(Bitmap::Create(bitmap, 10, -1, 24), kInvalidParameter);
    EXPECT_EQ(Bitmap::Create(bitmap, 100000, 100000, 32), kImageTooLarge);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(SdkBitmapCreate, PadsRowsLikeADib) {
    EXPECT_EQ(Bitmap::StrideFor(1, 1), 4u);
    EXPECT_EQ(Bitmap::StrideFor(33, 1), 8u);
    EXPECT_EQ(Bitmap::StrideFor(3, 4), 4u);
    EXPECT_EQ(Bitmap::StrideFor(5, 8), 8u);
    EXPECT_EQ(Bitmap::StrideFor(3, 16), 8u);
    EXPECT_EQ(Bitmap::StrideFor(13, 24), 40u);
    EXPECT_EQ(Bitmap::StrideFor(3, 32), 12u);
    Bitmap bitmap;
    ASSERT_EQ(Bitmap::Create(bitmap, 13, 7, 24), kSuccess);
    EXPECT_EQ(bitmap.SizeBytes(), 280u);
    ASSERT_EQ(Bitmap::Create(bitmap, 9, 2, 4), kSuccess);
    EXPECT_EQ(bitmap.Palette().size(), 16u);
}

// Pixels read back as written at every depth (indexed ones through their palette).
TEST(SdkBitmapPixels, RoundTripAtEveryDepth) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        Bitmap bitmap;
        ASSERT_EQ(Bitmap::Create(bitmap, 11, 3, bits), kSuccess);
        Rgb colour = bits == 1 ? Rgb{255, 255, 255} : bits <= 8 ? bitmap.Palette()[bits == 4 ? 5 : 200] : Rgb{255, 132, 8};  // exact in 5-5-5 too
        bitmap.SetPixel(9, 1, colour);
        EXPECT_EQ(bitmap.PixelAt(9, 1), colour) << bits;
        EXPECT_EQ(bitmap.PixelAt(8, 1), (Rgb{0, 0, 0})) << bits;
        EXPECT_EQ(bitmap.PixelAt(10, 1), (Rgb{0, 0, 0})) << bits;
        Bitmap rgb = ToRgb24(bitmap);
        EXPECT_EQ(rgb.BitsPerPixel(), 24);
        EXPECT_EQ(rgb.PixelAt(9, 1), colour) << bits;
    }
}

TEST(SdkBitmapPixels, SixteenBitsKeepFiveBitsPerChannel) {
    Bitmap bitmap;
    ASSERT_EQ(Bitmap::Create(bitmap, 1, 1, 16), kSuccess);
    bitmap.SetPixel(0, 0, {255, 128, 7});
    EXPECT_EQ(bitmap.Row(0)[0] | (bitmap.Row(0)[1] << 8), (31 << 10) | (16 << 5) | 0);
    EXPECT_EQ(bitmap.PixelAt(0, 0), (Rgb{255, 132, 0}));
}

// The toolbar pictures: ten distinct images with transparent corners at any size.
TEST(ToolbarArt, TenDistinctPicturesAtEverySize) {
    for (int size : {19, 32, 48}) {
        std::set<std::vector<uint8_t>> distinct;
        for (int index = 0; index < kToolbarImageCount; ++index) {
            Bitmap image = ToolbarImage(index, size);
            ASSERT_EQ(image.Width(), size);
            ASSERT_EQ(image.BitsPerPixel(), 32);
            int opaque = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) opaque += image.Row(y)[4 * x + 3] > 200;
            EXPECT_GT(opaque, size * size / 10) << index << " at " << size;
            EXPECT_EQ(image.Row(0)[3], 0) << index;  // the corner is transparent
            distinct.insert(std::vector<uint8_t>(image.Data(), image.Data() + image.SizeBytes()));
        }
        EXPECT_EQ(distinct.size(), 10u);
    }
}

TEST(ToolbarArt, DisabledPicturesAreGrey) {
    Bitmap image = ToolbarImage(7, 32, true);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const uint8_t* p = image.Row(y) + 4 * x;
            if (p[3]) {
                ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << "," << y;
            }
        }
}

} // namespace
} // namespace korvan::imaging
