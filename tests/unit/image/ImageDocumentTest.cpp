#include "unit/capture/CaptureFakes.h"

#include "imaging/ImageFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace korvan {
namespace {

using fakes::CallLog;
using fakes::FakeClipboard;
using fakes::FakeGrabber;

struct Document {
    CallLog log;
    FakeGrabber grabber{log};
    FakeClipboard clipboard{log};
    ImageDocument image{grabber, clipboard};
};

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ImageError& error) {
        return error.what();
    }
    return "no error";
}

imaging::Bitmap Solid(int width, int height, imaging::Rgb colour) {
    imaging::Bitmap bitmap;
    EXPECT_EQ(imaging::Bitmap::Create(bitmap, width, height, 24), imaging::kSuccess);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, colour);
    return bitmap;
}

// Assigning: a deep copy, none or an image without pixels empties the document.
TEST(ShotImageBitmap, HoldsACopyAndEmptiesOnNone) {
    Document d;
    EXPECT_EQ(d.image.Bitmap(), nullptr);
    d.image.SetBitmap(nullptr);
    EXPECT_FALSE(d.image.HoldsImage());
    imaging::Bitmap picture = Solid(30, 20, {1, 2, 3});
    d.image.SetBitmap(&picture);
    picture.SetPixel(0, 0, {9, 9, 9});
    ASSERT_NE(d.image.Bitmap(), nullptr);
    EXPECT_EQ(d.image.Bitmap()->PixelAt(0, 0), (imaging::Rgb{1, 2, 3}));
    EXPECT_EQ(d.image.DisplayedWidth(), 30);
    EXPECT_EQ(d.image.DisplayedHeight(), 20);
    EXPECT_EQ(d.image.HeldBitsPerPixel(), 24);
    imaging::Bitmap empty;
    d.image.SetBitmap(&empty);
    EXPECT_FALSE(d.image.HoldsImage());
    EXPECT_EQ(d.image.DisplayedWidth(), 0);
    EXPECT_EQ(d.image.HeldBitsPerPixel(), 0);
}

// A capture replaces the image; a failed one keeps it and raises the Capture message.
TEST(ShotImageCapture, ReplacesOnSuccessKeepsOnFailure) {
    Document d;
    EXPECT_EQ(d.image.Capture(0, 0, 0, 64, 48), imaging::kSuccess);
    EXPECT_EQ(d.image.Capture(0, 10, 20, 5, 4), imaging::kSuccess);
    EXPECT_EQ(d.log.calls.back(), "Grab(0,10,20,15,24)");
    EXPECT_EQ(d.image.DisplayedWidth(), 5);
    EXPECT_EQ(d.image.Bitmap()->PixelAt(0, 0), (imaging::Rgb{10, 20, 7}));
    d.grabber.status = imaging::kZeroAreaSize;
    EXPECT_EQ(MessageOf([&] { d.image.Capture(0, 0, 0, 0, 0); }),
              "ShotImage \nError code: -331\nCapture: Zero area size ");
    EXPECT_EQ(d.image.LastResult(), -331);
    EXPECT_EQ(d.image.DisplayedWidth(), 5);
}

// Copy and Save of an empty document never reach the imaging layer.
TEST(ShotImageEmpty, SaveAndCopyRaiseNotAllocated) {
    Document d;
    EXPECT_EQ(MessageOf([&] { d.image.Copy(3); }), "ShotImage \nCopy: Image not allocated.");
    EXPECT_EQ(d.image.LastResult(), -2);
    EXPECT_EQ(MessageOf([&] { d.image.Save("x.bmp", 6, 24, 0, 0); }), "ShotImage \nSave: Image not allocated.");
    EXPECT_TRUE(d.log.calls.empty());
}

// The clipboard's failure names who holds it.
TEST(ShotImageCopy, ReportsTheClipboardHolder) {
    Document d;
    d.image.Capture(0, 0, 0, 4, 4);
    d.clipboard.result = {imaging::kClipboardOpenFailed, "held by notepad.exe"};
    EXPECT_EQ(MessageOf([&] { d.image.Copy(3); }),
              "ShotImage \nError code: -40\nCopy: Cannot open the clipboard (held by notepad.exe) ");
    EXPECT_TRUE(d.image.HoldsImage());
}

// While one operation runs, another on the same document is refused.
TEST(ShotImageGuard, RefusesReentrantOperations) {
    Document d;
    d.image.Capture(0, 0, 0, 4, 4);
    class ReentrantClipboard final : public imaging::IClipboardWriter {
    public:
        explicit ReentrantClipboard(ImageDocument*& image) : image_(image) {}
        imaging::ClipboardResult CopyBitmap(imaging::WindowId, const imaging::Bitmap&, int) override {
            message = MessageOf([&] { image_->Capture(0, 0, 0, 2, 2); });
            return {};
        }
        std::string message;

    private:
        ImageDocument*& image_;
    };
    ImageDocument* target = nullptr;
    ReentrantClipboard clipboard(target);
    ImageDocument image(d.grabber, clipboard);
    target = &image;
    image.Capture(0, 0, 0, 4, 4);
    image.Copy(3);
    EXPECT_EQ(clipboard.message, "ShotImage \nError code: 0\nProcessing not allowed: Function not successful ");
    EXPECT_EQ(image.DisplayedWidth(), 4);
    image.Capture(0, 0, 0, 2, 2);  // the guard is released afterwards
    EXPECT_EQ(image.DisplayedWidth(), 2);
}

// Zoom: negative values are refused and change nothing.
TEST(ShotImageZoom, RejectsNegativeValues) {
    Document d;
    d.image.SetPaintZoomFactor(50);
    EXPECT_EQ(MessageOf([&] { d.image.SetPaintZoomFactor(-1); }), "ShotImage \nPaintZoomFactor: Invalid value passed.");
    EXPECT_EQ(d.image.LastResult(), -13);
    EXPECT_EQ(d.image.PaintZoomFactor(), 50);
}

TEST(ShotImageZoom, LaysOutTheHeldImageCentred) {
    Document d;
    d.image.SetCenterImage(true);
    d.image.SetControlSize(290, 209, 288, 207);
    imaging::Bitmap picture = Solid(200, 100, {0, 0, 0});
    d.image.SetBitmap(&picture);
    d.image.SetPaintZoomFactor(100);
    EXPECT_EQ(d.image.Layout().rect, (DisplayRect{44, 53, 200, 100}));
    d.image.SetPaintZoomFactor(50);
    EXPECT_EQ(d.image.Layout().rect, (DisplayRect{94, 78, 100, 50}));
    d.image.SetPaintZoomFactor(0);
    EXPECT_EQ(d.image.Layout().rect.width, 1);
}

// Saving writes the whole file or nothing, and reports problems with the Save message.
TEST(ShotImageSave, WritesAFileAndReportsErrors) {
    Document d;
    d.image.Capture(0, 0, 0, 3, 2);
    auto file = std::filesystem::temp_directory_path() / "korvan-shotimage-save.bmp";
    std::filesystem::remove(file);
    EXPECT_EQ(d.image.Save(file, imaging::kFormatBmp, 24, 63, 0), imaging::kSuccess);
    EXPECT_EQ(std::filesystem::file_size(file), 54u + 2 * 12);
    EXPECT_EQ(MessageOf([&] { d.image.Save(file, 99, 24, 0, 0); }),
              "ShotImage \nError code: -9\nSave: Invalid file format ");
    EXPECT_EQ(MessageOf([&] { d.image.Save("", 6, 24, 0, 0); }),
              "ShotImage \nError code: -8\nSave: Invalid filename specified ");
    EXPECT_EQ(MessageOf([&] { d.image.Save(file, 6, 24, 0, kSaveModeNewFileOnly); }),
              "ShotImage \nError code: -15\nSave: File already exists (" + file.string() + ": File exists) ");
    EXPECT_EQ(std::filesystem::file_size(file), 54u + 2 * 12);
    std::filesystem::remove(file);
}

} // namespace
} // namespace korvan
