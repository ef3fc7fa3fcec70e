#include "imaging/Deflate.h"

#include "unit/imaging/TestImages.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <string>

using namespace korvan::imaging;
using namespace korvan::test;

namespace {

// Inflates a raw deflate stream with zlib; empty on any error.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& z, size_t expected) {
    std::vector<uint8_t> out(expected + 1);
    z_stream s{};
    if (inflateInit2(&s, -15) != Z_OK) return {};
    s.next_in = const_cast<Bytef*>(z.data());
    s.avail_in = static_cast<uInt>(z.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    int status = inflate(&s, Z_FINISH);
    size_t produced = s.total_out;
    bool consumedAll = s.avail_in == 0;
    inflateEnd(&s);
    if (status != Z_STREAM_END || !consumedAll) return {};
    out.resize(produced);
    return out;
}

struct Input {
    const char* name;
    std::function<uint8_t(size_t)> byte;
    size_t size;
};

const Input kInputs[] = {
    {"empty", [](size_t) { return uint8_t{0}; }, 0},
    {"one byte", [](size_t) { return uint8_t{7}; }, 1},
    {"zeros", [](size_t) { return uint8_t{0}; }, 300000},
    {"noise", [](size_t i) { return uint8_t(Hash(uint32_t(i))); }, 100000},
    {"small residuals", [](size_t i) { return uint8_t(Hash(uint32_t(i)) % 9 - 4); }, 200000},
    {"repeated rows", [](size_t i) { return uint8_t(Hash(uint32_t(i % 5761)) % 3 == 0 ? i % 251 : 0); }, 400000},
    {"text-like", [](size_t i) { return uint8_t("the quick brown fox "[Hash(uint32_t(i / 20)) % 7 + i % 13]); }, 150000},
    {"long distance", [](size_t i) { return uint8_t(Hash(uint32_t(i % 32767))); }, 140000},
};

} // namespace

// Every kind of input inflates to itself, whole or as pieces joined with their history.
TEST(Deflate, RoundTripsWholeAndInPieces) {
    for (const Input& input : kInputs) {
        std::vector<uint8_t> data(input.size);
        for (size_t i = 0; i < data.size(); ++i) data[i] = input.byte(i);
        for (size_t pieces : {size_t(1), size_t(3), size_t(7)}) {
            std::vector<uint8_t> z;
            for (size_t k = 0; k < pieces; ++k) {
                size_t begin = data.size() * k / pieces, end = data.size() * (k + 1) / pieces;
                size_t history = std::min<size_t>(begin, 40000);
                deflate::Compress(data.data() + begin - history, end - begin + history, history, k == pieces - 1, z);
            }
            EXPECT_EQ(Inflate(z, data.size()), data) << input.name << ", " << pieces << " pieces";
            if (input.size >= 100000 && std::string(input.name) != "noise") {
                EXPECT_LT(z.size(), data.size() / 2) << input.name;
            }
        }
    }
}

// Code lengths respect the limit and form a complete prefix code, even for skewed counts.
TEST(Deflate, CodeLengthsAreCompleteWithinTheLimit) {
    for (int maxBits : {7, 15}) {
        for (int shape = 0; shape < 4; ++shape) {
            uint32_t frequencies[286] = {};
            for (int i = 0; i < 286; ++i) {
                if (shape == 0) frequencies[i] = uint32_t(1) << std::min(i, 30);  // Fibonacci-like depth
                if (shape == 1) frequencies[i] = i % 3 ? 0 : Hash(uint32_t(i)) % 1000 + 1;
                if (shape == 2) frequencies[i] = i < 2 ? 5 : 0;
                if (shape == 3) frequencies[i] = i == 10 ? 9 : 0;
            }
            const int count = maxBits == 7 ? 19 : 286;
            uint8_t lengths[286];
            deflate::CodeLengths(frequencies, count, maxBits, lengths);
            double kraft = 0;
            int used = 0;
            for (int i = 0; i < count; ++i) {
                EXPECT_EQ(lengths[i] != 0, frequencies[i] != 0) << shape << " " << i;
                EXPECT_LE(lengths[i], maxBits);
                if (lengths[i]) { kraft += 1.0 / double(1 << lengths[i]); ++used; }
            }
            EXPECT_DOUBLE_EQ(kraft, used == 1 ? 0.5 : 1.0) << maxBits << " " << shape;
        }
    }
}
