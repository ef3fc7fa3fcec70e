// The shotsave tool: reads PPM and 24/32-bit BMP, writes through the same code as Save, and
// reports failures with the imaging status and its text.
#include "codec/Decoders.h"
#include "imaging/ImageFile.h"
#include "imaging/Status.h"
#include "unit/imaging/TestImages.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace korvan;
using namespace korvan::imaging;
using korvan::test::Quote;

namespace {

const std::string kTool = KORVAN_SHOTSAVE;

struct Outcome {
    int status;
    std::string errors;
};

Outcome Shotsave(const std::string& arguments) {
    int status = 0;
    std::string errors = test::Run("sh -c " + std::string("\"") + kTool + " " + arguments + " 2>&1 >/dev/null\"", &status);
    return {status, errors};
}

void WritePpm(const std::filesystem::path& file, const test::Picture& p) {
    std::ofstream out(file, std::ios::binary);
    out << "P6\n# made by a test\n" << p.width << " " << p.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(p.rgb.data()), std::streamsize(p.rgb.size()));
}

} // namespace

// A PPM or BMP in, the same bytes out as the library writes, exit status 0.
TEST(Shotsave, WritesWhatSaveWrites) {
    test::TempDir dir;
    Bitmap image = test::Photo(31, 17, 32);
    WritePpm(dir / "in.ppm", test::FromBitmap(image));
    ASSERT_EQ(SaveBitmapFile(dir / "in.bmp", image, kFormatBmp, 32, 0), kSuccess);
    for (const char* input : {"in.ppm", "in.bmp"}) {
        for (auto [format, bits, quality] : {std::tuple{kFormatPng, 24, 0}, {kFormatJpeg, 24, 63}, {kFormatPsd, 8, 63}}) {
            std::filesystem::path out = dir / "out";
            Outcome o = Shotsave(Quote(dir / input) + " " + Quote(out) + " " + std::to_string(format) + " " +
                                 std::to_string(bits) + " " + std::to_string(quality));
            EXPECT_EQ(o.status, 0) << input << " " << o.errors;
            EXPECT_EQ(o.errors, "");
            VectorSink expected;
            ASSERT_EQ(EncodeBitmap(image, format, bits, quality, expected), kSuccess);
            std::ifstream in(out, std::ios::binary);
            std::vector<uint8_t> got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            EXPECT_EQ(got, expected.bytes) << input << " " << format;
        }
    }
}

// Each failure: non-zero exit, the status and its text on standard error, no file left.
TEST(Shotsave, ReportsStatusAndText) {
    test::TempDir dir;
    WritePpm(dir / "in.ppm", test::FromBitmap(test::Photo(5, 5)));
    const std::string in = Quote(dir / "in.ppm"), out = Quote(dir / "out");
    const struct { std::string arguments, errors; } cases[] = {
        {in + " " + out + " 99 24 0", "-9 Invalid file format\n"},
        {in + " " + out + " 75 16 0", "-27 Invalid bits/pixel\n"},
        {in + " " + out + " 10 24 1", "-21 Invalid QFactor specified\n"},
        {in + " " + out + " 16 24 63", "-27 Invalid bits/pixel\n"},
        {in + " " + Quote(dir / "no/such/dir/x.png") + " 75 24 0", "-14 Not able to open file\n"},
        {Quote(dir / "missing.ppm") + " " + out + " 75 24 0", "-14 Not able to open file\n"},
        {Quote(dir / "in.ppm") + " '' 75 24 0", "-8 Invalid filename specified\n"},
    };
    for (const auto& c : cases) {
        Outcome o = Shotsave(c.arguments);
        EXPECT_NE(o.status, 0) << c.arguments;
        EXPECT_EQ(o.errors, c.errors) << c.arguments;
        EXPECT_FALSE(std::filesystem::exists(dir / "out")) << c.arguments;
    }
    std::ofstream(dir / "bad.ppm") << "P6 2 2 255\nxx";
    EXPECT_NE(Shotsave(Quote(dir / "bad.ppm") + " " + out + " 75 24 0").status, 0);
    EXPECT_NE(Shotsave("only two").status, 0);
}
