// The image document's window paints the image where the layout puts it, averaged
// when shrunk, and silver only around it.
#include "imaging/Status.h"
#include "imaging/win32/ClipboardWin32.h"
#include "imaging/win32/ScreenGrabberWin32.h"
#include "image/win32/ImageView.h"

#include <gtest/gtest.h>

namespace korvan::win {
namespace {

void Pump() {
    for (int i = 0; i < 30; ++i) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        ::Sleep(10);
    }
}

imaging::Bitmap Checker(int width, int height) {
    imaging::Bitmap bitmap;
    EXPECT_EQ(imaging::Bitmap::Create(bitmap, width, height, 24), imaging::kSuccess);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, ((x + y) & 1) ? imaging::Rgb{255, 255, 255} : imaging::Rgb{0, 0, 0});
    return bitmap;
}

struct ViewRig {
    imaging::ScreenGrabberWin32 grabber;
    imaging::ClipboardWin32 clipboard;
    ImageDocument image{grabber, clipboard};
    HWND host = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100,
                                  300, 220, nullptr, nullptr, nullptr, nullptr);
    std::unique_ptr<ImageView> view;
    ViewRig() {
        image.SetCenterImage(true);
        image.SetSmoothScaling(true);
        view = std::make_unique<ImageView>(host, image);
        view->Place(0, 0, 290, 209);  // a one-pixel border around 288 x 207
    }
    ~ViewRig() {
        view.reset();
        ::DestroyWindow(host);
    }
    imaging::Bitmap Client() {
        Pump();
        POINT origin{0, 0};
        ::ClientToScreen(view->Hwnd(), &origin);
        imaging::Bitmap shot;
        (void)grabber.GrabRect(0, origin.x, origin.y, origin.x + 288, origin.y + 207, shot);
        return shot;
    }
};

constexpr imaging::Rgb kSilver{192, 192, 192};

TEST(ImageView, PaintsTheImageCentredInSilver) {
    ViewRig rig;
    imaging::Bitmap checker = Checker(200, 100);
    rig.image.SetBitmap(&checker);
    rig.image.SetPaintZoomFactor(100);
    imaging::Bitmap shot = rig.Client();
    EXPECT_EQ(rig.image.Width(), 290);
    EXPECT_EQ(shot.PixelAt(43, 60), kSilver);
    EXPECT_EQ(shot.PixelAt(44, 53), (imaging::Rgb{0, 0, 0}));
    EXPECT_EQ(shot.PixelAt(45, 53), (imaging::Rgb{255, 255, 255}));
    EXPECT_EQ(shot.PixelAt(243, 152), (imaging::Rgb{0, 0, 0}));
    EXPECT_EQ(shot.PixelAt(244, 152), kSilver);
    EXPECT_EQ(shot.PixelAt(100, 153), kSilver);
}

TEST(ImageView, AveragesPixelsWhenShrinking) {
    ViewRig rig;
    imaging::Bitmap checker = Checker(200, 100);
    rig.image.SetBitmap(&checker);
    rig.image.SetPaintZoomFactor(50);
    imaging::Bitmap shot = rig.Client();
    EXPECT_EQ(shot.PixelAt(93, 80), kSilver);
    for (int x = 94; x < 194; x += 7) EXPECT_EQ(shot.PixelAt(x, 100), (imaging::Rgb{128, 128, 128})) << x;
    EXPECT_EQ(shot.PixelAt(194, 100), kSilver);
}

TEST(ImageView, AnEmptyDocumentShowsOnlySilver) {
    ViewRig rig;
    imaging::Bitmap shot = rig.Client();
    for (int y = 0; y < 207; y += 23)
        for (int x = 0; x < 288; x += 31) ASSERT_EQ(shot.PixelAt(x, y), kSilver) << x << "," << y;
}

} // namespace
} // namespace korvan::win
