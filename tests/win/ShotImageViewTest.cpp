// The image document's window paints the image where the layout puts it, averaged
// when shrunk, and silver only around it.
#include "engine/SdkStatus.h"
#include "engine/win32/ClipboardWin32.h"
#include "engine/win32/ScreenGrabberWin32.h"
#include "image/win32/ShotImageView.h"

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

sdk::SdkBitmap Checker(int width, int height) {
    sdk::SdkBitmap bitmap;
    EXPECT_EQ(sdk::SdkBitmap::Create(bitmap, width, height, 24), sdk::kSuccess);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, ((x + y) & 1) ? sdk::Rgb{255, 255, 255} : sdk::Rgb{0, 0, 0});
    return bitmap;
}

struct ViewRig {
    sdk::ScreenGrabberWin32 grabber;
    sdk::ClipboardWin32 clipboard;
    TShotImage image{grabber, clipboard};
    HWND host = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100,
                                  300, 220, nullptr, nullptr, nullptr, nullptr);
    std::unique_ptr<ShotImageView> view;
    ViewRig() {
        image.SetCenterImage(true);
        image.SetPaintScaling(TPaintScaling::psResample);
        view = std::make_unique<ShotImageView>(host, image);
        view->Place(0, 0, 290, 209);  // a one-pixel border around 288 x 207
    }
    ~ViewRig() {
        view.reset();
        ::DestroyWindow(host);
    }
    sdk::SdkBitmap Client() {
        Pump();
        POINT origin{0, 0};
        ::ClientToScreen(view->Hwnd(), &origin);
        sdk::SdkBitmap shot;
        (void)grabber.GrabRect(0, origin.x, origin.y, origin.x + 288, origin.y + 207, shot);
        return shot;
    }
};

constexpr sdk::Rgb kSilver{192, 192, 192};

TEST(ShotImageView, PaintsTheImageCentredInSilver) {
    ViewRig rig;
    sdk::SdkBitmap checker = Checker(200, 100);
    rig.image.SetBitmap(&checker);
    rig.image.SetPaintZoomFactor(100);
    sdk::SdkBitmap shot = rig.Client();
    EXPECT_EQ(rig.image.Width(), 290);
    EXPECT_EQ(shot.PixelAt(43, 60), kSilver);
    EXPECT_EQ(shot.PixelAt(44, 53), (sdk::Rgb{0, 0, 0}));
    EXPECT_EQ(shot.PixelAt(45, 53), (sdk::Rgb{255, 255, 255}));
    EXPECT_EQ(shot.PixelAt(243, 152), (sdk::Rgb{0, 0, 0}));
    EXPECT_EQ(shot.PixelAt(244, 152), kSilver);
    EXPECT_EQ(shot.PixelAt(100, 153), kSilver);
}

TEST(ShotImageView, AveragesPixelsWhenShrinking) {
    ViewRig rig;
    sdk::SdkBitmap checker = Checker(200, 100);
    rig.image.SetBitmap(&checker);
    rig.image.SetPaintZoomFactor(50);
    sdk::SdkBitmap shot = rig.Client();
    EXPECT_EQ(shot.PixelAt(93, 80), kSilver);
    for (int x = 94; x < 194; x += 7) EXPECT_EQ(shot.PixelAt(x, 100), (sdk::Rgb{128, 128, 128})) << x;
    EXPECT_EQ(shot.PixelAt(194, 100), kSilver);
}

TEST(ShotImageView, AnEmptyDocumentShowsOnlySilver) {
    ViewRig rig;
    sdk::SdkBitmap shot = rig.Client();
    for (int y = 0; y < 207; y += 23)
        for (int x = 0; x < 288; x += 31) ASSERT_EQ(shot.PixelAt(x, y), kSilver) << x << "," << y;
}

} // namespace
} // namespace korvan::win
