// Every format and depth written through SaveBitmapFile and read back by decoders that are
// not ours; pixels compared with the source.
#include "codec/Decoders.h"
#include "imaging/ColorReduction.h"
#include "imaging/ImageFile.h"
#include "imaging/JpegWriter.h"
#include "imaging/Status.h"
#include "unit/imaging/TestImages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace korvan;
using namespace korvan::imaging;
using korvan::test::Decode;
using korvan::test::DifferentPixels;
using korvan::test::FromBitmap;
using korvan::test::Picture;
using korvan::test::Psnr;
using korvan::test::Quote;

namespace {

const std::string kConvert = "convert ";
const std::string kPil =
    "/usr/bin/python3 -c \"import sys; from PIL import Image; im=Image.open(sys.argv[1]); im.load(); "
    "im=im.convert('RGB'); sys.stdout.buffer.write(b'P6 %d %d 255 ' % im.size + im.tobytes())\" ";

struct Size {
    int w, h;
};
// One pixel, odd widths that need row padding, one pixel high and one pixel wide.
const Size kEdgeSizes[] = {{1, 1}, {3, 5}, {37, 1}, {1, 9}, {333, 211}};

class CodecTest : public ::testing::Test {
protected:
    CodecTest() {
        // The packaged ImageMagick policy refuses images wider than 16000 pixels.
        std::filesystem::create_directories(dir_ / "magick");
        std::ofstream(dir_ / "magick" / "policy.xml")
            << "<policymap><policy domain=\"resource\" name=\"width\" value=\"64KP\"/>"
               "<policy domain=\"resource\" name=\"height\" value=\"64KP\"/></policymap>\n";
        ::setenv("MAGICK_CONFIGURE_PATH", (dir_ / "magick").c_str(), 1);
    }
    std::filesystem::path Save(const Bitmap& bitmap, const std::string& name, int format, int bits, int quality = 63) {
        std::filesystem::path file = dir_ / name;
        int status = SaveBitmapFile(file, bitmap, format, bits, quality);
        EXPECT_EQ(status, kSuccess) << name;
        return file;
    }
    // Decodes with each command and expects exactly the given pixels.
    void ExpectExact(const std::filesystem::path& file, const Picture& expected, std::initializer_list<std::string> decoders) {
        for (const std::string& decoder : decoders) {
            Picture got = Decode(decoder + Quote(file) + (decoder == kConvert ? " -depth 8 ppm:-" : ""));
            ASSERT_TRUE(got.Valid()) << decoder << file;
            EXPECT_EQ(got.width, expected.width) << decoder << file;
            EXPECT_EQ(got.height, expected.height) << decoder << file;
            EXPECT_EQ(DifferentPixels(got, expected), 0) << decoder << file;
        }
    }
    // The pixels the palette reduction chose, as a picture.
    static Picture Reduced(const Bitmap& bitmap, int colors) {
        IndexedImage indexed;
        EXPECT_EQ(ReduceColors(bitmap, colors, indexed), kSuccess);
        Picture p;
        p.width = bitmap.Width();
        p.height = bitmap.Height();
        for (uint8_t i : indexed.indices) p.rgb.insert(p.rgb.end(), {indexed.palette[i].r, indexed.palette[i].g, indexed.palette[i].b});
        return p;
    }
    static Picture Grey(const Bitmap& bitmap) {
        Picture p = FromBitmap(bitmap);
        for (size_t i = 0; i < p.rgb.size(); i += 3) p.rgb[i] = p.rgb[i + 1] = p.rgb[i + 2] = Luma(p.rgb[i], p.rgb[i + 1], p.rgb[i + 2]);
        return p;
    }
    static std::string ReadText(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    test::TempDir dir_;
};

} // namespace

// 24-bit files hold the source pixels exactly, whatever the size and source depth.
TEST_F(CodecTest, TrueColourFilesAreExactAtEdgeSizes) {
    for (const Size& s : kEdgeSizes) {
        for (int sourceBits : {24, 32}) {
            for (bool photo : {false, true}) {
                Bitmap image = photo ? test::Photo(s.w, s.h, sourceBits) : test::Screen(s.w, s.h, sourceBits);
                Picture source = FromBitmap(image);
                std::string stem = std::to_string(s.w) + "x" + std::to_string(s.h) + "-" + std::to_string(sourceBits) + (photo ? "p" : "s");
                auto png = Save(image, stem + ".png", kFormatPng, 24);
                EXPECT_EQ(test::Run("pngcheck -q " + Quote(png)), "") << png;
                ExpectExact(png, source, {"pngtopnm ", kConvert});
                ExpectExact(Save(image, stem + ".bmp", kFormatBmp, 24), source, {"bmptopnm ", kConvert});
                ExpectExact(Save(image, stem + "-32.bmp", kFormatBmp, 32), source, {"bmptopnm ", kConvert});
                ExpectExact(Save(image, stem + ".psd", kFormatPsd, 24), source, {kPil, kConvert});
                ExpectExact(Save(image, stem + ".pct", kFormatPict, 24), source, {kConvert});
            }
        }
    }
}

// Images with no more colours than the depth holds keep every pixel.
TEST_F(CodecTest, FewColoursAreExactInPaletteFiles) {
    for (const Size& s : kEdgeSizes) {
        for (int colors : {2, 4, 16, 256}) {
            Bitmap image = test::FewColors(s.w, s.h, colors, 32);
            Picture source = FromBitmap(image);
            std::string stem = std::to_string(s.w) + "x" + std::to_string(s.h) + "-" + std::to_string(colors);
            std::vector<int> depths = colors == 2 ? std::vector<int>{1, 4, 8} : colors <= 16 ? std::vector<int>{4, 8} : std::vector<int>{8};
            for (int bits : depths) {
                std::string b = "-" + std::to_string(bits);
                auto png = Save(image, stem + b + ".png", kFormatPng, bits);
                EXPECT_EQ(test::Run("pngcheck -q " + Quote(png)), "") << png;
                ExpectExact(png, source, {"pngtopnm ", kConvert});
                ExpectExact(Save(image, stem + b + ".bmp", kFormatBmp, bits), source, {"bmptopnm ", kConvert});
                ExpectExact(Save(image, stem + b + ".pct", kFormatPict, bits), source, {kConvert});
                if (bits == 8) ExpectExact(Save(image, stem + b + ".psd", kFormatPsd, 8), source, {kPil});
            }
            // A true-colour request with few colours may become a palette file, losslessly.
            ExpectExact(Save(image, stem + "-24.png", kFormatPng, 24), source, {"pngtopnm ", kConvert});
        }
    }
}

// With too many colours the files hold exactly the reduced palette image, which stays
// close to the source.
TEST_F(CodecTest, QuantisedFilesHoldTheReducedImage) {
    Bitmap image = test::Photo(257, 131);
    Picture source = FromBitmap(image);
    const struct { int bits; double minPsnr; } kDepths[] = {{1, 9.0}, {4, 24.0}, {8, 33.0}};
    for (auto d : kDepths) {
        Picture reduced = Reduced(image, 1 << d.bits);
        EXPECT_GE(Psnr(reduced, source), d.minPsnr) << d.bits;
        std::string b = std::to_string(d.bits);
        ExpectExact(Save(image, "q" + b + ".png", kFormatPng, d.bits), reduced, {"pngtopnm ", kConvert});
        ExpectExact(Save(image, "q" + b + ".bmp", kFormatBmp, d.bits), reduced, {"bmptopnm ", kConvert});
        ExpectExact(Save(image, "q" + b + ".pct", kFormatPict, d.bits), reduced, {kConvert});
        if (d.bits == 8) ExpectExact(Save(image, "q8.psd", kFormatPsd, 8), reduced, {kPil});
    }
}

// 16-bit BMP keeps five bits per channel.
TEST_F(CodecTest, Bmp16KeepsFiveBitsPerChannel) {
    Bitmap image = test::Photo(99, 7);
    Picture source = FromBitmap(image);
    auto file = Save(image, "p16.bmp", kFormatBmp, 16);
    for (const std::string& decoder : {std::string("bmptopnm "), std::string("convert ")}) {
        Picture got = Decode(decoder + Quote(file) + (decoder == kConvert ? " -depth 8 ppm:-" : ""));
        ASSERT_EQ(got.rgb.size(), source.rgb.size()) << decoder;
        for (size_t i = 0; i < got.rgb.size(); ++i) ASSERT_NEAR(got.rgb[i], source.rgb[i], 5) << decoder << i;
    }
}

// Photoshop bitmap mode is black and white: a two-colour image maps its dark colour to
// black without loss of shape; other images are dithered from their grey levels.
TEST_F(CodecTest, PsdBitmapModeIsBlackAndWhite) {
    // (Pillow 9 reads this mode with black and white swapped, so ImageMagick reads it here.)
    Bitmap two = test::Blank(19, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 19; ++x) two.SetPixel(x, y, (x * y) % 4 == 1 ? Rgb{200, 30, 30} : Rgb{240, 240, 250});
    auto file = Save(two, "two.psd", kFormatPsd, 1);
    Picture expected = FromBitmap(two);
    for (size_t i = 0; i < expected.rgb.size(); i += 3) {
        uint8_t v = expected.rgb[i] == 240 ? 255 : 0;  // the light colour is white
        expected.rgb[i] = expected.rgb[i + 1] = expected.rgb[i + 2] = v;
    }
    ExpectExact(file, expected, {kConvert});
    Bitmap photo = test::Photo(120, 80);
    Picture got = Decode(kConvert + Quote(Save(photo, "photo1.psd", kFormatPsd, 1)) + " -depth 8 ppm:-");
    ASSERT_TRUE(got.Valid());
    EXPECT_GE(Psnr(got, Grey(photo)), 7.0);  // dithered: only the average tone survives
    double meanGot = 0, meanGrey = 0;
    Picture grey = Grey(photo);
    for (size_t i = 0; i < got.rgb.size(); ++i) { meanGot += got.rgb[i]; meanGrey += grey.rgb[i]; }
    EXPECT_NEAR(meanGot / double(got.rgb.size()), meanGrey / double(got.rgb.size()), 4.0);
}

// JPEG: baseline, no chroma subsampling, within a stated error of the source, and the same
// size and error as libjpeg's cjpeg at the dialog's percent.
TEST_F(CodecTest, JpegDecodesCloseToTheSource) {
    for (const Size& s : kEdgeSizes) {
        Bitmap image = test::Photo(s.w, s.h, 32);
        auto file = Save(image, "p" + std::to_string(s.w) + "x" + std::to_string(s.h) + ".jpg", kFormatJpeg, 24, 63);
        Picture got = Decode("djpeg -pnm " + Quote(file));
        ASSERT_TRUE(got.Valid()) << file;
        EXPECT_GE(Psnr(got, FromBitmap(image)), 30.0) << file;
        EXPECT_EQ(test::Run("identify -format '%[jpeg:sampling-factor]' " + Quote(file)), "1x1,1x1,1x1");
        Picture grey = Decode("djpeg -pnm " + Quote(Save(image, "g" + std::to_string(s.w) + ".jpg", kFormatJpeg, 8, 63)));
        ASSERT_TRUE(grey.Valid());
        EXPECT_GE(Psnr(grey, Grey(image)), 30.0);
    }
    // Pure noise at the finest setting keeps too many coefficients to hold them all between
    // the passes: those stripes are transformed again, to the same result.
    Bitmap noise = test::Blank(700, 300);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 700; ++x) noise.SetPixel(x, y, {uint8_t(test::Hash(uint32_t(y * 700 + x))), uint8_t(x), uint8_t(test::Hash(uint32_t(x * 31 + y)))});
    EXPECT_GE(Psnr(Decode("djpeg -pnm " + Quote(Save(noise, "noise.jpg", kFormatJpeg, 24, 2))), FromBitmap(noise)), 40.0);
    Bitmap screen = test::Screen(333, 211);
    for (int q : {2, 63, 129}) {
        auto file = Save(screen, "s" + std::to_string(q) + ".jpg", kFormatJpeg, 24, q);
        EXPECT_GE(Psnr(Decode("djpeg -pnm " + Quote(file)), FromBitmap(screen)), q == 2 ? 45.0 : 28.0) << q;
    }
}

// At the same percent our files are as large and as accurate as libjpeg's cjpeg with
// optimised tables and no subsampling.
TEST_F(CodecTest, JpegMatchesTheReferenceEncoderAtTheSamePercent) {
    Bitmap image = test::Photo(640, 480);
    std::filesystem::path ppm = dir_ / "ref.ppm";
    Picture source = FromBitmap(image);
    {
        std::ofstream out(ppm, std::ios::binary);
        out << "P6 640 480 255\n";
        out.write(reinterpret_cast<const char*>(source.rgb.data()), static_cast<std::streamsize>(source.rgb.size()));
    }
    // At the finest setting only the error is compared: the reference's integer transform
    // adds rounding noise that costs it bits there.
    for (int q : {2, 63, 129}) {
        int percent = JpegQualityPercent(q);
        auto ours = Save(image, "o" + std::to_string(q) + ".jpg", kFormatJpeg, 24, q);
        auto ref = dir_ / ("r" + std::to_string(q) + ".jpg");
        test::Run("cjpeg -quality " + std::to_string(percent) + " -sample 1x1 -optimize -outfile " + Quote(ref) + " " + Quote(ppm));
        double sizeRatio = double(std::filesystem::file_size(ours)) / double(std::filesystem::file_size(ref));
        if (q != 2) {
            EXPECT_NEAR(sizeRatio, 1.0, 0.03) << q;
        }
        double ourPsnr = Psnr(Decode("djpeg -pnm " + Quote(ours)), source);
        double refPsnr = Psnr(Decode("djpeg -pnm " + Quote(ref)), source);
        EXPECT_GE(ourPsnr, refPsnr - 0.15) << q;
    }
}

// EPS renders in Ghostscript at its bounding box as the image's grey levels.
TEST_F(CodecTest, EpsRendersAsGreyImage) {
    for (const Size& s : kEdgeSizes) {
        Bitmap image = test::Photo(s.w, s.h);
        auto file = Save(image, "e" + std::to_string(s.w) + "x" + std::to_string(s.h) + ".eps", kFormatEps, 8);
        std::string text = ReadText(file);
        EXPECT_NE(text.find("\n%%BoundingBox: 0 0 " + std::to_string(s.w) + " " + std::to_string(s.h) + "\n"), std::string::npos);
        Picture got = Decode("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sDEVICE=pgmraw -sOutputFile=- " + Quote(file));
        ASSERT_TRUE(got.Valid()) << file;
        EXPECT_EQ(got.width, s.w);
        EXPECT_EQ(got.height, s.h);
        Picture grey = Grey(image);
        ASSERT_EQ(got.rgb.size(), grey.rgb.size());
        for (size_t i = 0; i < got.rgb.size(); ++i) ASSERT_NEAR(got.rgb[i], grey.rgb[i], 1) << file << " " << i;
    }
}

// The longest row: 16384 x 1 in every format and depth.
TEST_F(CodecTest, LongSingleRowInEveryFormat) {
    Bitmap image = test::Screen(16384, 1, 32);
    Picture source = FromBitmap(image);
    ExpectExact(Save(image, "long.png", kFormatPng, 24), source, {"pngtopnm "});
    ExpectExact(Save(image, "long.bmp", kFormatBmp, 24), source, {"bmptopnm "});
    ExpectExact(Save(image, "long.psd", kFormatPsd, 24), source, {kPil});
    ExpectExact(Save(image, "long.pct", kFormatPict, 24), source, {kConvert});
    for (int bits : {1, 4, 8}) {
        Picture reduced = Reduced(image, 1 << bits);
        std::string b = std::to_string(bits);
        ExpectExact(Save(image, "long" + b + ".png", kFormatPng, bits), reduced, {"pngtopnm "});
        ExpectExact(Save(image, "long" + b + ".bmp", kFormatBmp, bits), reduced, {"bmptopnm "});
        ExpectExact(Save(image, "long" + b + ".pct", kFormatPict, bits), reduced, {kConvert});
    }
    EXPECT_GE(Psnr(Decode("djpeg -pnm " + Quote(Save(image, "long.jpg", kFormatJpeg, 24))), source), 30.0);
    Picture eps = Decode("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sDEVICE=pgmraw -sOutputFile=- " +
                         Quote(Save(image, "long.eps", kFormatEps, 8)));
    EXPECT_EQ(eps.width, 16384);
    Picture psd1 = Decode(kPil + Quote(Save(image, "long1.psd", kFormatPsd, 1)));
    EXPECT_EQ(psd1.width, 16384);
}

// An 8K screen (7680 x 4320) in the formats a user saves screenshots in.
TEST_F(CodecTest, EightKScreen) {
    Bitmap image = test::Screen(7680, 4320, 32);
    Picture source = FromBitmap(image);
    ExpectExact(Save(image, "8k.png", kFormatPng, 24), source, {"pngtopnm "});
    EXPECT_GE(Psnr(Decode("djpeg -pnm " + Quote(Save(image, "8k.jpg", kFormatJpeg, 24))), source), 30.0);
    ExpectExact(Save(image, "8k.pct", kFormatPict, 24), source, {kConvert});
}
