// A capture across three 4K screens is 7680 x 4320 (33 million pixels): scaling averages
// it without overflowing, and the writers store its full size.
#include "imaging/ImageFile.h"
#include "imaging/Resample.h"
#include "imaging/Status.h"
#include "unit/imaging/WriterTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

namespace korvan::imaging {
namespace {

using test::Be32;
using test::Le32;

constexpr int kWidth = 7680, kHeight = 4320;

// Keeps the first bytes and counts the rest, so no encoded copy of the image is held.
class HeadSink final : public ByteSink {
public:
    bool Write(const void* data, size_t size) override {
        auto p = static_cast<const uint8_t*>(data);
        head.insert(head.end(), p, p + std::min(size, kKeep - std::min(kKeep, head.size())));
        total += size;
        return true;
    }
    static constexpr size_t kKeep = 4096;
    std::vector<uint8_t> head;
    uint64_t total = 0;
};

// Left half one colour, right half another.
Bitmap TwoHalves(Rgb left, Rgb right) {
    Bitmap image;
    EXPECT_EQ(Bitmap::Create(image, kWidth, kHeight, 24), kSuccess);
    std::vector<uint8_t> row(image.Stride());
    for (int x = 0; x < kWidth; ++x) {
        Rgb c = x < kWidth / 2 ? left : right;
        row[size_t(x) * 3] = c.b, row[size_t(x) * 3 + 1] = c.g, row[size_t(x) * 3 + 2] = c.r;
    }
    for (int y = 0; y < kHeight; ++y) std::memcpy(image.Row(y), row.data(), row.size());
    return image;
}

uint32_t Packed(Rgb c) { return uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b; }

TEST(LargeImage, ScalesAndWritesSevenThousandByFourThousandPixels) {
    const Rgb left{250, 130, 7}, right{4, 200, 255};
    Bitmap image = TwoHalves(left, right);
    ASSERT_FALSE(image.Empty());

    // Shrunk to one pixel, every source pixel counts (sums far beyond 32 bits).
    ScaledView one = RenderScaledRegion(image, 1, 1, 0, 0, 1, 1, true);
    ASSERT_EQ(one.pixels.size(), 1u);
    EXPECT_EQ(one.pixels[0], Packed({127, 165, 131}));
    ScaledView two = RenderScaledRegion(image, 2, 1, 0, 0, 2, 1, true);
    EXPECT_EQ(two.pixels, (std::vector<uint32_t>{Packed(left), Packed(right)}));

    // A real file: the BMP header's size fields match the file on disk.
    std::random_device random;
    auto file = std::filesystem::temp_directory_path() / ("korvan-large-" + std::to_string(random()) + ".bmp");
    ASSERT_EQ(SaveBitmapFile(file, image, kFormatBmp, 24, 0), kSuccess);
    std::vector<uint8_t> header(54);
    std::ifstream(file, std::ios::binary).read(reinterpret_cast<char*>(header.data()), 54);
    const uint64_t pixelBytes = uint64_t{kWidth} * 3 * kHeight;
    EXPECT_EQ(std::filesystem::file_size(file), 54 + pixelBytes);
    EXPECT_EQ(Le32(header, 2), 54 + pixelBytes);
    EXPECT_EQ(Le32(header, 18), uint32_t{kWidth});
    EXPECT_EQ(Le32(header, 22), uint32_t{kHeight});
    EXPECT_EQ(Le32(header, 34), pixelBytes);
    std::filesystem::remove(file);

    // The PNG form the clipboard carries too. The other writers are left out for time
    // only: together they add most of a minute under the sanitizers.
    HeadSink png;
    ASSERT_EQ(EncodeBitmap(image, kFormatPng, 24, 0, png), kSuccess);
    EXPECT_EQ(Be32(png.head, 16), uint32_t{kWidth});
    EXPECT_EQ(Be32(png.head, 20), uint32_t{kHeight});
}

} // namespace
} // namespace korvan::imaging
