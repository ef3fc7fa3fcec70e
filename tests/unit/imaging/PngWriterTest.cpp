#include "imaging/PngWriter.h"

#include "imaging/ColorReduction.h"
#include "imaging/Status.h"
#include "unit/imaging/TestImages.h"
#include "unit/imaging/WriterTestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <map>

using namespace korvan::imaging;
using namespace korvan::test;

namespace {

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
};

std::vector<Chunk> Chunks(const std::vector<uint8_t>& png) {
    std::vector<Chunk> chunks;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        uint32_t length = Be32(png, at);
        Chunk c{Text(png, at + 4, 4), std::vector<uint8_t>(png.begin() + long(at + 8), png.begin() + long(at + 8 + length))};
        uLong crc = crc32(0, png.data() + at + 4, 4 + length);
        EXPECT_EQ(Be32(png, at + 8 + length), crc) << c.type;
        chunks.push_back(std::move(c));
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    return chunks;
}

// Inflates the joined IDAT data and undoes the filters: the image's raw rows.
std::vector<uint8_t> RawRows(const std::vector<Chunk>& chunks, size_t rowBytes, int height, int bpp) {
    std::vector<uint8_t> z;
    for (const Chunk& c : chunks)
        if (c.type == "IDAT") z.insert(z.end(), c.data.begin(), c.data.end());
    std::vector<uint8_t> filtered((rowBytes + 1) * size_t(height) + 1);
    uLongf size = filtered.size();
    EXPECT_EQ(uncompress(filtered.data(), &size, z.data(), z.size()), Z_OK);
    EXPECT_EQ(size, (rowBytes + 1) * size_t(height));
    std::vector<uint8_t> raw(rowBytes * size_t(height));
    for (int y = 0; y < height; ++y) {
        const uint8_t* f = filtered.data() + size_t(y) * (rowBytes + 1);
        uint8_t* row = raw.data() + size_t(y) * rowBytes;
        const uint8_t* prev = y ? row - rowBytes : nullptr;
        for (size_t i = 0; i < rowBytes; ++i) {
            int a = i >= size_t(bpp) ? row[i - size_t(bpp)] : 0, b = prev ? prev[i] : 0, c = (prev && i >= size_t(bpp)) ? prev[i - size_t(bpp)] : 0;
            int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            int predictor[5] = {0, a, b, (a + b) / 2, (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c)};
            EXPECT_LE(f[0], 4);
            row[i] = static_cast<uint8_t>(f[1 + i] + predictor[f[0] % 5]);
        }
    }
    return raw;
}

std::vector<uint8_t> Encode(const Bitmap& image, int bits, const PngOptions& options = {}) {
    VectorSink sink;
    EXPECT_EQ(WritePng(image, bits, sink, options), kSuccess);
    return sink.bytes;
}

} // namespace

// The fast Paeth predictor agrees with the textbook definition on every input.
TEST(PngFilters, PaethMatchesDefinitionExhaustively) {
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b)
            for (int c = 0; c < 256; ++c) {
                int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                int expected = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
                if (png::Paeth(uint8_t(a), uint8_t(b), uint8_t(c)) != expected) FAIL() << a << " " << b << " " << c;
            }
}

// The vector form of Paeth agrees too: with 16 bytes per pixel one call predicts 16 triples.
TEST(PngFilters, PaethFilterMatchesDefinitionExhaustively) {
    uint8_t row[32] = {}, prev[32], out[33];
    for (uint32_t first = 0; first < (1u << 24); first += 16) {
        for (uint32_t k = 0; k < 16; ++k) {
            uint32_t abc = first + k;
            row[k] = uint8_t(abc >> 16);         // a: left
            prev[16 + k] = uint8_t(abc >> 8);    // b: above
            prev[k] = uint8_t(abc);              // c: above left
        }
        png::FilterAndCost(4, row, prev, 32, 16, out, SIZE_MAX);
        for (uint32_t k = 0; k < 16; ++k)
            if (uint8_t(-out[17 + k]) != png::Paeth(row[k], prev[16 + k], prev[k])) FAIL() << first + k;
    }
}

// The fast filters, and their vector forms with the cost, equal the plain definitions for
// every type, pixel size and first row.
TEST(PngFilters, FastFiltersMatchDefinitions) {
    for (int bpp : {1, 3, 4})
        for (size_t size : {size_t(1), size_t(2), size_t(3), size_t(7), size_t(64), size_t(301), size_t(1000)})
            for (uint32_t seed = 0; seed < 20; ++seed) {
                std::vector<uint8_t> row(size), prev(size), out(size + 1);
                for (size_t i = 0; i < size; ++i) {
                    row[i] = uint8_t(Hash(seed * 7919 + uint32_t(i)));
                    prev[i] = uint8_t(Hash(seed * 104729 + uint32_t(i)));
                }
                for (bool first : {false, true})
                    for (int type = 0; type < 5; ++type) {
                        std::vector<uint8_t> withCost(size + 1);
                        size_t cost = png::FilterAndCost(type, row.data(), first ? nullptr : prev.data(), size, bpp, withCost.data(), SIZE_MAX);
                        png::FilterRow(type, row.data(), first ? nullptr : prev.data(), size, bpp, out.data());
                        ASSERT_EQ(withCost, out) << type << " " << bpp << " " << size;
                        size_t plainCost = 0;
                        for (size_t i = 0; i < size; ++i) plainCost += size_t(std::min(std::abs(int(int8_t(out[1 + i]))), png::kCostCap));
                        ASSERT_EQ(cost, plainCost) << type << " " << bpp << " " << size;
                        ASSERT_EQ(out[0], type);
                        for (size_t i = 0; i < size; ++i) {
                            int a = i >= size_t(bpp) ? row[i - size_t(bpp)] : 0, b = first ? 0 : prev[i];
                            int c = (!first && i >= size_t(bpp)) ? prev[i - size_t(bpp)] : 0;
                            int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                            int predictor[5] = {0, a, b, (a + b) / 2, (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c)};
                            ASSERT_EQ(out[1 + i], uint8_t(row[i] - predictor[type])) << type << " " << bpp << " " << i;
                        }
                    }
            }
}

// Adaptive filtering picks the filter with the least sum of absolute values, each counted
// up to the cap.
TEST(PngFilters, ChoiceHasTheLeastCost) {
    auto cost = [](const std::vector<uint8_t>& f) {
        size_t s = 0;
        for (size_t i = 1; i < f.size(); ++i) s += size_t(std::min(std::abs(int(int8_t(f[i]))), png::kCostCap));
        return s;
    };
    for (size_t size : {size_t(30), size_t(700)}) {
        std::vector<uint8_t> row(size), prev(size), out(size + 1), scratch(size + 1), candidate(size + 1);
        for (uint32_t seed = 0; seed < 200; ++seed) {
            for (size_t i = 0; i < row.size(); ++i) {
                row[i] = uint8_t(Hash(seed * 31 + uint32_t(i)) % (seed % 2 ? 256 : 8) + i);
                prev[i] = uint8_t(Hash(seed * 77 + uint32_t(i)) % 16 + i);
            }
            int chosen = png::ChooseAndFilterRow(row.data(), prev.data(), row.size(), 3, out.data(), scratch.data());
            EXPECT_EQ(out[0], chosen);
            for (int t = 0; t < 5; ++t) {
                png::FilterRow(t, row.data(), prev.data(), row.size(), 3, candidate.data());
                EXPECT_LE(cost(out), cost(candidate)) << t;
                if (t == chosen) {
                    EXPECT_EQ(out, candidate);
                }
            }
        }
    }
}

// Header: signature, IHDR with the size, depth and colour type, chunks in order with valid CRCs.
TEST(PngWriter, HeaderAndChunkOrder) {
    Bitmap photo = Photo(33, 7);
    PngOptions rgb;
    rgb.findPalette = false;
    std::vector<uint8_t> png = Encode(photo, 24, rgb);
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    ASSERT_TRUE(std::equal(signature, signature + 8, png.begin()));
    auto chunks = Chunks(png);
    ASSERT_GE(chunks.size(), 4u);
    EXPECT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.back().type, "IEND");
    const std::vector<uint8_t> ihdr = {0, 0, 0, 33, 0, 0, 0, 7, 8, 2, 0, 0, 0};
    EXPECT_EQ(chunks.front().data, ihdr);
    for (int bits : {1, 4, 8}) {
        auto indexed = Chunks(Encode(photo, bits));
        EXPECT_EQ(indexed[0].data[8], bits);
        EXPECT_EQ(indexed[0].data[9], 3);
        EXPECT_EQ(indexed[1].type, "sRGB");
        EXPECT_EQ(indexed[2].type, "PLTE");
        EXPECT_LE(indexed[2].data.size(), 3u << bits);
    }
}

// The deflated rows unfilter to the source, and the file is the same on any number of threads.
TEST(PngWriter, RowsSurviveSerialAndParallelDeflate) {
    Bitmap image = Photo(700, 1500, 32);  // big enough for several strips
    std::vector<uint8_t> expected(size_t(700) * 3 * 1500);
    for (int y = 0; y < 1500; ++y) ReadRgbRow(image, y, expected.data() + size_t(y) * 2100);
    std::vector<uint8_t> serial;
    for (int threads : {1, 2, 3, 4}) {
        PngOptions options;
        options.threads = threads;
        std::vector<uint8_t> png = Encode(image, 24, options);
        EXPECT_EQ(RawRows(Chunks(png), 2100, 1500, 3), expected) << threads;
        if (threads == 1) serial = png;
        EXPECT_EQ(png, serial) << threads;
    }
}

// Photographs, in several strips, come out no larger than the usual deflate of filtered
// rows (level 6, filtered strategy) makes of the very same rows.
TEST(PngWriter, PhotographsNoLargerThanTheUsualDeflateOfTheSameRows) {
    PngOptions rgb;
    rgb.findPalette = false;
    const std::pair<const char*, Bitmap> pictures[] = {{"camera", CameraPhoto(640, 800)}, {"smooth", Photo(640, 800)}};
    for (const auto& [name, image] : pictures) {
        std::vector<uint8_t> ours;
        for (const Chunk& c : Chunks(Encode(image, 24, rgb)))
            if (c.type == "IDAT") ours.insert(ours.end(), c.data.begin(), c.data.end());
        std::vector<uint8_t> rows((size_t(image.Width()) * 3 + 1) * size_t(image.Height()));
        uLongf size = rows.size();
        ASSERT_EQ(uncompress(rows.data(), &size, ours.data(), ours.size()), Z_OK);
        z_stream z{};
        ASSERT_EQ(deflateInit2(&z, 6, Z_DEFLATED, 15, 8, Z_FILTERED), Z_OK);
        std::vector<uint8_t> usual(deflateBound(&z, size));
        z.next_in = rows.data();
        z.avail_in = static_cast<uInt>(size);
        z.next_out = usual.data();
        z.avail_out = static_cast<uInt>(usual.size());
        EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
        deflateEnd(&z);
        EXPECT_LE(ours.size(), z.total_out) << name;
    }
}

// A true-colour request with no more than 256 colours becomes a lossless palette image
// of the smallest depth; without the search it stays RGB.
TEST(PngWriter, FewColoursBecomeAPalette) {
    const std::map<int, int> depthFor = {{2, 1}, {3, 2}, {16, 4}, {200, 8}};
    for (auto [colors, depth] : depthFor) {
        Bitmap image = FewColors(41, 17, colors);
        IndexedImage exact;
        ASSERT_TRUE(TryExactPalette(image, 256, exact));
        auto chunks = Chunks(Encode(image, 24));
        EXPECT_EQ(chunks[0].data[9], 3) << colors;
        EXPECT_EQ(chunks[0].data[8], depth) << colors;
        size_t rowBytes = (41 * size_t(depth) + 7) / 8;
        std::vector<uint8_t> raw = RawRows(chunks, rowBytes, 17, 1);
        const std::vector<uint8_t>& plte = chunks[2].data;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 41; ++x) {
                int shift = 8 - depth * (x % (8 / depth) + 1);
                int index = (raw[size_t(y) * rowBytes + size_t(x * depth / 8)] >> shift) & ((1 << depth) - 1);
                Rgb c = image.PixelAt(x, y);
                ASSERT_EQ(plte[size_t(index) * 3], c.r);
                ASSERT_EQ(plte[size_t(index) * 3 + 1], c.g);
                ASSERT_EQ(plte[size_t(index) * 3 + 2], c.b);
            }
    }
    PngOptions plain;
    plain.findPalette = false;
    EXPECT_EQ(Chunks(Encode(FewColors(9, 9, 4), 24, plain))[0].data[9], 2);
}

// Depths PNG does not offer are refused.
TEST(PngWriter, RefusesOtherDepths) {
    VectorSink sink;
    for (int bits : {0, 2, 16, 32, 48}) EXPECT_EQ(WritePng(Photo(4, 4), bits, sink), kInvalidBitsPerPixel) << bits;
    EXPECT_TRUE(sink.bytes.empty());
}
