#include "imaging/Resample.h"
#include "imaging/Status.h"

#include <gtest/gtest.h>

namespace korvan::imaging {
namespace {

Bitmap Checker(int size) {
    Bitmap bitmap;
    EXPECT_EQ(Bitmap::Create(bitmap, size, size, 24), kSuccess);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            bitmap.SetPixel(x, y, ((x + y) & 1) ? Rgb{255, 255, 255} : Rgb{0, 0, 0});
    return bitmap;
}

// Shrinking with resampling averages every source pixel; without, it picks one.
TEST(RenderScaledRegion, AveragesWhenShrinking) {
    Bitmap checker = Checker(8);
    ScaledView averaged = RenderScaledRegion(checker, 4, 4, 0, 0, 4, 4, true);
    ASSERT_EQ(averaged.pixels.size(), 16u);
    for (uint32_t pixel : averaged.pixels) EXPECT_EQ(pixel, 0x808080u);
    ScaledView picked = RenderScaledRegion(checker, 4, 4, 0, 0, 4, 4, false);
    for (uint32_t pixel : picked.pixels) EXPECT_EQ(pixel, 0u);
}

TEST(RenderScaledRegion, ARegionMatchesTheSamePartOfTheWholeView) {
    Bitmap bitmap;
    ASSERT_EQ(Bitmap::Create(bitmap, 100, 60, 24), kSuccess);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) bitmap.SetPixel(x, y, {uint8_t(x * 2), uint8_t(y * 4), uint8_t(x ^ y)});
    ScaledView whole = RenderScaledRegion(bitmap, 33, 20, 0, 0, 33, 20, true);
    ScaledView part = RenderScaledRegion(bitmap, 33, 20, 10, 5, 12, 9, true);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(part.pixels[size_t(y * 12 + x)], whole.pixels[size_t((y + 5) * 33 + x + 10)]) << x << "," << y;
}

TEST(RenderScaledRegion, EnlargingRepeatsPixelsAndOtherDepthsWork) {
    Bitmap indexed;
    ASSERT_EQ(Bitmap::Create(indexed, 2, 1, 8), kSuccess);
    indexed.Palette()[1] = {10, 20, 30};
    indexed.Row(0)[1] = 1;
    ScaledView view = RenderScaledRegion(indexed, 4, 2, 0, 0, 4, 2, true);
    EXPECT_EQ(view.pixels, (std::vector<uint32_t>{0, 0, 0x0A141E, 0x0A141E, 0, 0, 0x0A141E, 0x0A141E}));
    EXPECT_TRUE(RenderScaledRegion(Bitmap{}, 4, 2, 0, 0, 4, 2, true).pixels.empty());
}

} // namespace
} // namespace korvan::imaging
