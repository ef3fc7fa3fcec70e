#include "imaging/EpsWriter.h"

#include "imaging/ColorReduction.h"
#include "imaging/Status.h"
#include "unit/imaging/TestImages.h"

#include <gtest/gtest.h>

using namespace korvan::imaging;
using namespace korvan::test;

// The EPS header names the format, the bounding box is the image in points, and the
// hexadecimal data carries the grey level of every pixel in order.
TEST(EpsWriter, HeaderBoundingBoxAndData) {
    Bitmap image = Photo(7, 3);
    VectorSink sink;
    ASSERT_EQ(WriteEps(image, 8, sink), kSuccess);
    std::string eps(sink.bytes.begin(), sink.bytes.end());
    EXPECT_EQ(eps.rfind("%!PS-Adobe-3.0 EPSF-3.0\n", 0), 0u);
    EXPECT_NE(eps.find("\n%%BoundingBox: 0 0 7 3\n"), std::string::npos);
    EXPECT_NE(eps.find("7 3 8 [7 0 0 -3 0 3]"), std::string::npos);
    EXPECT_NE(eps.find("%%EOF"), std::string::npos);
    size_t data = eps.find("image\n") + 6;
    std::string hex;
    for (size_t i = data; i < eps.size() && eps[i] != 'r'; ++i)
        if (std::isxdigit(static_cast<unsigned char>(eps[i]))) hex.push_back(eps[i]);
    ASSERT_EQ(hex.size(), 7u * 3 * 2);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) {
            Rgb c = image.PixelAt(x, y);
            EXPECT_EQ(std::stoi(hex.substr(size_t(y * 7 + x) * 2, 2), nullptr, 16), Luma(c.r, c.g, c.b));
        }
    for (char ch : eps) EXPECT_TRUE(ch == '\n' || (ch >= 32 && ch < 127));
}

// EPS is written as 8-bit grey only.
TEST(EpsWriter, OnlyEightBits) {
    VectorSink sink;
    for (int bits : {1, 4, 24}) EXPECT_EQ(WriteEps(Photo(2, 2), bits, sink), kInvalidBitsPerPixel);
}
