// Memory running out while an image is encoded (a file, the clipboard's PNG form) ends in
// the out-of-memory status: never in std::terminate or an exception, never in a file
// reported as written. Every allocation of this test program goes through the counting
// allocator below, which fails a chosen one while it is switched on: that one alone (a
// large block refused, small ones still granted) or that one and all after it.
#include "imaging/ImageFile.h"
#include "imaging/PngWriter.h"
#include "imaging/Status.h"
#include "unit/imaging/FakeFileStore.h"
#include "unit/imaging/TestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_limited{false};
std::atomic<bool> g_onlyOne{false};
std::atomic<long long> g_allowed{0};  // allocations granted before the failing one, on any thread
std::atomic<long long> g_made{0};

void* Allocate(std::size_t size) {
    if (g_limited.load(std::memory_order_relaxed)) {
        long long left = g_allowed.fetch_sub(1, std::memory_order_relaxed);
        if (left == 0 || (left < 0 && !g_onlyOne)) throw std::bad_alloc();
    }
    g_made.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace korvan::imaging {
namespace {

using test::FewColors;
using test::Photo;

// The work's result with the first `allowed` allocations granted and the next failing,
// alone or with all later ones.
template <typename Work> int WithAllocations(long long allowed, bool onlyOne, Work work) {
    struct Limit {
        Limit(long long allowed, bool onlyOne) {
            g_allowed = allowed;
            g_onlyOne = onlyOne;
            g_limited = true;
        }
        ~Limit() { g_limited = false; }  // also when an exception escapes, so the test can tell
    } limit(allowed, onlyOne);
    return work();
}

template <typename Work> long long AllocationsOf(Work work) {
    g_made = 0;
    work();
    return g_made;
}

struct Case {
    const char* what;
    int format, bits;
    Bitmap image;
};

// The files a case may write: its usual one, and for a PNG of few colours also the RGB file
// written when there was no memory to look for its palette (the same pixels).
std::vector<std::vector<uint8_t>> Accepted(const Case& c) {
    VectorSink whole, rgb;
    EXPECT_EQ(EncodeBitmap(c.image, c.format, c.bits, 63, whole), kSuccess) << c.what;
    if (c.format == kFormatPng && c.bits == 24) {
        EXPECT_EQ(WritePng(c.image, 24, rgb, {0, false}), kSuccess);
    }
    return {whole.bytes, rgb.bytes.empty() ? whole.bytes : rgb.bytes};
}

bool OneOf(const std::vector<uint8_t>& bytes, const std::vector<std::vector<uint8_t>>& accepted) {
    return std::find(accepted.begin(), accepted.end(), bytes) != accepted.end();
}

std::vector<Case> Cases() {
    return {
        {"BMP 24", kFormatBmp, 24, Photo(9, 5)},         {"BMP 8", kFormatBmp, 8, Photo(9, 5)},
        {"JPEG", kFormatJpeg, 24, Photo(19, 11)},        {"PNG photo (clipboard)", kFormatPng, 24, Photo(9, 5)},
        {"PNG few colours", kFormatPng, 24, FewColors(9, 5, 3)}, {"PNG 4", kFormatPng, 4, Photo(9, 5)},
        {"PICT 24", kFormatPict, 24, Photo(9, 5)},       {"PICT 24 narrow", kFormatPict, 24, Photo(2, 300)},
        {"PICT 8", kFormatPict, 8, Photo(9, 5)},         {"PSD 1", kFormatPsd, 1, Photo(9, 5)},
        {"PSD 8", kFormatPsd, 8, FewColors(9, 5, 4)},    {"EPS", kFormatEps, 8, Photo(9, 5)},
    };
}

// Each allocation in turn fails (alone, or with all after it): the encoder answers
// kNoMemory, or (when it could do without) the bytes it writes with memory to spare.
TEST(OutOfMemory, EncodingEndsInTheOutOfMemoryStatus) {
    for (const Case& c : Cases()) {
        const std::vector<std::vector<uint8_t>> accepted = Accepted(c);
        const long long needed = AllocationsOf([&] {
            VectorSink sink;
            return EncodeBitmap(c.image, c.format, c.bits, 63, sink);
        });
        for (bool onlyOne : {true, false})
            for (long long allowed = 0; allowed <= needed; ++allowed) {
                VectorSink sink;
                int status =
                    WithAllocations(allowed, onlyOne, [&] { return EncodeBitmap(c.image, c.format, c.bits, 63, sink); });
                if (status == kSuccess) {
                    ASSERT_TRUE(OneOf(sink.bytes, accepted)) << c.what << ", " << allowed << " of " << needed << ", " << onlyOne;
                } else {
                    ASSERT_EQ(status, kNoMemory) << c.what << ", " << allowed << " of " << needed << ", " << onlyOne;
                }
            }
    }
}

// Saving the same way: out of memory leaves no file, target or temporary; a save that
// succeeds wrote the whole file.
TEST(OutOfMemory, ASaveEndsInTheOutOfMemoryStatusAndLeavesNoFile) {
    for (const Case& c : Cases()) {
        const std::vector<std::vector<uint8_t>> accepted = Accepted(c);
        fakes::FakeFileStore store;
        const std::filesystem::path target = "shots/shot.img";
        SaveFileOptions options;
        options.store = &store;
        const long long needed =
            AllocationsOf([&] { return SaveBitmapFile(target, c.image, c.format, c.bits, 63, options); });
        for (bool onlyOne : {true, false})
            for (long long allowed = 0; allowed <= needed; ++allowed) {
                store.files.clear();
                int status = WithAllocations(
                    allowed, onlyOne, [&] { return SaveBitmapFile(target, c.image, c.format, c.bits, 63, options); });
                if (status == kSuccess) {
                    ASSERT_EQ(store.files.size(), 1u) << c.what << ", " << allowed << ", " << onlyOne;
                    ASSERT_TRUE(OneOf(store.files.begin()->second, accepted)) << c.what << ", " << allowed << ", " << onlyOne;
                } else {
                    ASSERT_EQ(status, kNoMemory) << c.what << ", " << allowed << " of " << needed << ", " << onlyOne;
                    ASSERT_TRUE(store.files.empty()) << c.what << ", " << allowed << ", " << onlyOne;
                }
            }
    }
}

} // namespace
} // namespace korvan::imaging
