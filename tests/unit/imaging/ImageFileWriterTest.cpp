#include "imaging/ImageFile.h"

#include "imaging/FileName.h"
#include "imaging/Status.h"
#include "unit/imaging/TestImages.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

using namespace korvan::imaging;
using namespace korvan::test;

namespace {

class ScratchDir {
public:
    ScratchDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("korvan-save-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() { std::error_code ec; std::filesystem::remove_all(path_, ec); }
    std::filesystem::path operator/(const char* name) const { return path_ / name; }
    size_t Entries() const { return size_t(std::distance(std::filesystem::directory_iterator(path_), {})); }

private:
    std::filesystem::path path_;
};

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Accepts a number of bytes, then fails every write.
class FailingSink final : public ByteSink {
public:
    explicit FailingSink(size_t room) : room_(room) {}
    bool Write(const void*, size_t size) override {
        if (size > room_) return false;
        room_ -= size;
        return true;
    }

private:
    size_t room_;
};

} // namespace

// Format codes and depths: every offered pair succeeds, everything else has its code.
TEST(ImageFileWriter, FormatDepthAndQualityChecks) {
    const struct { int format; std::vector<int> depths; } offered[] = {
        {kFormatBmp, {1, 4, 8, 16, 24, 32}}, {kFormatJpeg, {8, 24}}, {kFormatPng, {1, 4, 8, 24}},
        {kFormatPict, {1, 4, 8, 24}},        {kFormatPsd, {1, 8, 24}}, {kFormatEps, {8}}};
    Bitmap image = Photo(5, 4);
    for (const auto& f : offered)
        for (int bits : {0, 1, 2, 4, 8, 15, 16, 24, 32, 64}) {
            bool ok = std::find(f.depths.begin(), f.depths.end(), bits) != f.depths.end();
            VectorSink sink;
            EXPECT_EQ(EncodeBitmap(image, f.format, bits, 63, sink), ok ? kSuccess : kInvalidBitsPerPixel) << f.format << "/" << bits;
            EXPECT_EQ(sink.bytes.empty(), !ok);
        }
    VectorSink sink;
    for (int format : {0, 1, 2, 5, 7, 11, 74, 77, -6}) EXPECT_EQ(EncodeBitmap(image, format, 24, 63, sink), kInvalidFileFormat);
    for (int q : {0, 1, 256}) EXPECT_EQ(EncodeBitmap(image, kFormatJpeg, 24, q, sink), kInvalidQFactor);
    // Formats other than JPEG ignore the quality factor, as the dialog passes the slider's for them.
    EXPECT_EQ(EncodeBitmap(image, kFormatPng, 24, 0, sink), kSuccess);
    EXPECT_EQ(EncodeBitmap(image, kFormatPsd, 24, 63, sink), kSuccess);
    EXPECT_EQ(EncodeBitmap(Bitmap(), kFormatPng, 24, 0, sink), kInvalidBitmap);
}

// A failing write is reported as such, whatever the format.
TEST(ImageFileWriter, FailedWritesAreErrors) {
    Bitmap image = Screen(300, 200);
    for (auto [format, bits] : {std::pair{kFormatBmp, 8}, {kFormatJpeg, 24}, {kFormatPng, 24}, {kFormatPict, 24}, {kFormatPsd, 8}, {kFormatEps, 8}}) {
        VectorSink whole;
        ASSERT_EQ(EncodeBitmap(image, format, bits, 63, whole), kSuccess);
        for (size_t room : {size_t(0), size_t(100), whole.bytes.size() / 2, whole.bytes.size() - 1}) {
            FailingSink sink(room);
            EXPECT_EQ(EncodeBitmap(image, format, bits, 63, sink), kErrorWriting) << format << " " << room;
        }
    }
}

// Saving: errors leave the disk as it was; success replaces the target completely.
TEST(ImageFileWriter, SaveErrorsNeverTouchTheDisk) {
    ScratchDir dir;
    Bitmap image = Photo(6, 6);
    std::ofstream(dir / "keep.png") << "old";
    EXPECT_EQ(SaveBitmapFile(dir / "keep.png", image, 99, 24, 0), kInvalidFileFormat);
    EXPECT_EQ(SaveBitmapFile(dir / "keep.png", image, kFormatPng, 16, 0), kInvalidBitsPerPixel);
    EXPECT_EQ(SaveBitmapFile(dir / "keep.png", image, kFormatJpeg, 24, 1), kInvalidQFactor);
    EXPECT_EQ(SaveBitmapFile("", image, kFormatPng, 24, 0), kInvalidFilename);
    EXPECT_EQ(SaveBitmapFile(dir / "", image, kFormatPng, 24, 0), kInvalidFilename);
    EXPECT_EQ(SaveBitmapFile(dir / "missing/a.png", image, kFormatPng, 24, 0), kCannotOpenFile);
    EXPECT_EQ(Contents(dir / "keep.png"), "old");
    EXPECT_EQ(dir.Entries(), 1u);
    ASSERT_EQ(SaveBitmapFile(dir / "keep.png", image, kFormatPng, 24, 0), kSuccess);
    VectorSink expected;
    ASSERT_EQ(EncodeBitmap(image, kFormatPng, 24, 0, expected), kSuccess);
    EXPECT_EQ(Contents(dir / "keep.png"), std::string(expected.bytes.begin(), expected.bytes.end()));
    EXPECT_EQ(dir.Entries(), 1u);  // no temporary file left behind
}

// The never-overwrite mode refuses an existing name and keeps its contents.
TEST(ImageFileWriter, FailIfExistsKeepsTheOldFile) {
    ScratchDir dir;
    std::ofstream(dir / "shot1.bmp") << "old";
    SaveFileOptions exclusive;
    exclusive.failIfExists = true;
    EXPECT_EQ(SaveBitmapFile(dir / "shot1.bmp", Photo(3, 3), kFormatBmp, 24, 63, exclusive), kFileExists);
    EXPECT_EQ(Contents(dir / "shot1.bmp"), "old");
    EXPECT_EQ(SaveBitmapFile(dir / "shot2.bmp", Photo(3, 3), kFormatBmp, 24, 63, exclusive), kSuccess);
    EXPECT_EQ(dir.Entries(), 2u);
}

// Names Windows refuses answer "Invalid filename specified" before anything is created.
TEST(ImageFileWriter, NamesWindowsRefusesAreInvalidFileNames) {
    const struct { const char* name; bool valid; } cases[] = {
        {"shot.bmp", true},        {"B\xC3\xA4r 1.png", true},  {".hidden", true},        {"con1.bmp", true},
        {"COM10.bmp", true},       {"LPT.bmp", true},             {"nul-x.bmp", true},      {"a.b.c", true},
        {"a?b.bmp", false},        {"a*b.bmp", false},            {"a<b", false},           {"a>b", false},
        {"a|b", false},            {"a\"b", false},               {"x/a:b.bmp", false},     {"tab\tname", false},
        {"CON.bmp", false},        {"con.txt", false},            {"Con", false},           {"PRN.png", false},
        {"aux", false},            {"NUL.tar.gz", false},         {"LPT1", false},          {"com9.jpg", false},
        {"COM0", false},           {"lpt\xC2\xB9.bmp", false},  {"CON .bmp", false},      {"conout$.txt", false},
        {"name.", false},          {"name ", false},              {"..", false},            {"", false},
        {"dir/", false},           {"x\\CON.bmp", false},        {"x\\ok.bmp", true},     {"C:/shots/ok.bmp", true},
        {"C:", false},             {"C:ok.bmp", true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidFileName(c.name), c.valid) << c.name;
    EXPECT_FALSE(IsValidFileName(std::string(256, 'a')));
    EXPECT_TRUE(IsValidFileName(std::string(255, 'a')));

    ScratchDir dir;
    for (const auto& c : cases) {
        if (!c.valid && *c.name) {
            EXPECT_EQ(SaveBitmapFile(dir / c.name, Photo(2, 2), kFormatBmp, 24, 0), kInvalidFilename) << c.name;
        }
    }
    EXPECT_EQ(dir.Entries(), 0u);
}

// A name of 236 to 255 characters saves: the temporary file's name does not grow with it.
TEST(ImageFileWriter, NamesUpToTheLongestSave) {
    ScratchDir dir;
    for (size_t length : {236, 250, 255}) {
        std::string name = std::string(length - 4, 'n') + ".png";
        EXPECT_EQ(SaveBitmapFile(dir / name.c_str(), Photo(3, 2), kFormatPng, 24, 0), kSuccess) << length;
        EXPECT_TRUE(std::filesystem::exists(dir / name.c_str())) << length;
    }
    EXPECT_EQ(dir.Entries(), 3u);
}

// Temporary files a crash left behind ("~korvan-", 16 lowercase hexadecimal digits, ".tmp")
// are removed by the next save into their folder; every other file stays, and so does a
// temporary file another save still has open.
TEST(ImageFileWriter, LeftoversOfACrashGoAtTheNextSaveIntoTheirFolder) {
    const struct { const char* name; bool removed; } files[] = {
        {"~korvan-0123456789abcdef.tmp", true},      {"~korvan-fedcba9876543210.tmp", true},
        {"~korvan-0123456789ABCDEF.tmp", false},     {"~korvan-0123456789abcde.tmp", false},
        {"~korvan-0123456789abcdeg.tmp", false},     {"~korvan-0123456789abcdef.tmp.bak", false},
        {"~korvan-notes.tmp", false},                {"shot.tmp", false},
        {"korvan-0123456789abcdef.tmp", false},
    };
    ScratchDir dir;
    for (const auto& f : files) std::ofstream(dir / f.name) << "left";
    std::filesystem::create_directory(dir / "~korvan-00000000000000aa.tmp");
    std::filesystem::create_directory(dir / "sub");
    std::ofstream(dir / "sub/~korvan-00000000000000bb.tmp") << "left";
    IFileStore::Created inProgress = DiskFileStore().CreateNew(dir / "~korvan-00000000000000cc.tmp");
    ASSERT_TRUE(inProgress.file);

    ASSERT_EQ(SaveBitmapFile(dir / "shot1.bmp", Photo(2, 2), kFormatBmp, 24, 0), kSuccess);
    for (const auto& f : files) EXPECT_EQ(std::filesystem::exists(dir / f.name), !f.removed) << f.name;
    EXPECT_TRUE(std::filesystem::exists(dir / "~korvan-00000000000000aa.tmp"));
    EXPECT_TRUE(std::filesystem::exists(dir / "sub/~korvan-00000000000000bb.tmp"));
    EXPECT_TRUE(std::filesystem::exists(dir / "~korvan-00000000000000cc.tmp"));
    inProgress.file.reset();
    ASSERT_EQ(SaveBitmapFile(dir / "shot2.bmp", Photo(2, 2), kFormatBmp, 24, 0), kSuccess);
    EXPECT_FALSE(std::filesystem::exists(dir / "~korvan-00000000000000cc.tmp"));
}
